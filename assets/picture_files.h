#pragma once
// The pictures the program shows, each by its file under this folder and its size in pixels.
// tools/gen_pictures draws every one at this size (and at twice it, as NAME@2x beside it), and
// the views lay them out at it.

#include <QRect>
#include <QSize>
#include <QString>

namespace assets {

struct PictureFile {
    const char* file; // under the assets folder, and under ":/" among the resources
    int width;
    int height;

    QSize size() const { return QSize(width, height); }
    QString path() const { return QString::fromLatin1(file); }
    QString resource() const { return QStringLiteral(":/") + path(); }
    // Where a view puts it: its top left corner at (left, top), at its own size.
    QRect at(int left, int top) const { return QRect(left, top, width, height); }
};

inline constexpr PictureFile kRootChart{"pictures/image1.jpg", 676, 231};
inline constexpr PictureFile kMnemonicChart{"pictures/image2.jpg", 695, 176};
inline constexpr PictureFile kMakerName{"pictures/image3.jpg", 103, 37};
inline constexpr PictureFile kPortrait{"pictures/image4.jpg", 109, 160};
inline constexpr PictureFile kAddress{"pictures/image5.jpg", 132, 30};
inline constexpr PictureFile kSiteName{"pictures/image6.jpg", 132, 30};
inline constexpr PictureFile kKeyNameMap{"pictures/image7.jpg", 459, 173};
inline constexpr PictureFile kLevel1Map{"pictures/image8.jpg", 459, 173};
inline constexpr PictureFile kRootMap{"pictures/image9.jpg", 599, 173};
inline constexpr PictureFile kWindowIcon{"pictures/icon.png", 32, 32};

inline constexpr PictureFile kPictureFiles[] = {kRootChart, kMnemonicChart, kMakerName, kPortrait, kAddress,
                                                kSiteName,  kKeyNameMap,    kLevel1Map, kRootMap,  kWindowIcon};

// The root drill's pictures, zigen1.jpg … zigen195.jpg, all of one size.
inline constexpr QSize kRootPictureSize(38, 38);
inline QString rootPicturePath(int number) {
    return QStringLiteral("pictures/zigen/zigen%1.jpg").arg(number);
}
inline QString rootPictureResource(int number) {
    return QStringLiteral(":/") + rootPicturePath(number);
}

} // namespace assets
