#pragma once
// Whether a face draws 匕 in its mainland form. Taiwan-form faces (even those named "CN") draw 匕
// with its first stroke crossing the vertical, so that it reads as 七 and a learner types the
// wrong key. In the mainland form the 丿 only meets the vertical, which then stands at the left
// edge of the character; in 七 (and in a Taiwan-form 匕) the crossing stroke reaches well left of
// it. Measured: the vertical of 匕 at 0.06-0.13 of its width in Noto Serif/Sans CJK SC, AR PL
// SungtiL GB and AR PL KaitiM GB, at 0.24-0.29 in AR PL UMing CN and UKai CN; that of 七 at
// 0.39-0.48 in all six.

#include <QFont>
#include <QString>

namespace glyph_forms {

// Where the longest vertical stroke of `character` stands in `face`, as a fraction of its inked
// width (measured at 200 pixels, whatever the face's size).
qreal verticalStrokeAt(const QFont& face, const QString& character);

struct BiForm {
    qreal bi = 0; // where the vertical of 匕 stands
    qreal qi = 0; // where the vertical of 七 stands
    // The measure works in this face: its 七 has the vertical well inside.
    bool measurable() const { return qi >= 0.3; }
    bool mainland() const { return bi <= 0.18; }
};

BiForm measureBi(const QFont& face);

} // namespace glyph_forms
