#pragma once
// The strips under the hint's code that explain it, on the single-character and phrase drill
// pages. What they explain is the drills' (drills/hint_explanation.h); they show it after every
// event.

#include "hint_explanation.h"

#include <QHash>
#include <QPixmap>
#include <QWidget>

class QLabel;

namespace app {

class Binder;
class Form;

// Columns of a root (or a stroke, a character, a reason) over its letters, centred in the strip.
class ExplanationStrip : public QWidget {
public:
    ExplanationStrip(QWidget* parent, const QRect& geometry, int topPixels);
    void setExplanation(const drills::Explanation& e);
    const drills::Explanation& explanation() const { return m_explanation; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int widthOf(const drills::ExplanationCell& cell) const;
    const QPixmap& picture(int number);

    drills::Explanation m_explanation;
    QFont m_topFont;
    QFont m_reasonFont;
    QFont m_letterFont;
    int m_topPixels;
    QHash<int, QPixmap> m_pictures;
};

// Under the single-character drill's hint code (panel `Panel13`), in `geometry` of `column`.
ExplanationStrip* addCharacterExplanation(QWidget* column, const QRect& geometry, Form& form, Binder& binder);
// In the phrase drill's hint panel `Panel16`, in `geometry` (above the code, in the room the
// phrase's first two lines leave).
ExplanationStrip* addPhraseExplanation(QWidget* panel16, const QRect& geometry, Form& form, Binder& binder);

} // namespace app
