#include "root_pictures.h"

#include "drawing.h"
#include "output_files.h"
#include "picture_files.h"

namespace {

const QSize rootPictureSize = assets::kRootPictureSize;
constexpr int rootPicturePx = 32;

void drawRootPicture(QPainter& p, const Root& root, bool keyName) {
    p.fillRect(QRectF(QPointF(0, 0), rootPictureSize), Qt::white);
    drawRoot(p, root, QRectF(QPointF(0, 0), rootPictureSize), rootPicturePx, Qt::black, keyName ? 0 : 0.9);
}

Output rootPictureOutput(const QString& name, const Root& root, bool keyName) {
    return {name, rootPictureSize, [&root, keyName](QPainter& p) { drawRootPicture(p, root, keyName); }};
}

} // namespace

Outputs rootPictureOutputs(const std::vector<RootPicture>& pictures) {
    Outputs outputs;
    for (const RootPicture& pic : pictures)
        outputs.push_back(
            rootPictureOutput(assets::rootPicturePath(pic.number), *pic.root, pic.root == &pic.key->roots.front()));
    return outputs;
}

QImage rootPictureImage(const Root& root, bool keyName, qreal scale) {
    return renderPicture(rootPictureOutput(QStringLiteral("root.jpg"), root, keyName), scale);
}
