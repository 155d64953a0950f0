#pragma once
// A test double of the picture-hint panel: records the keyboard maps the drills asked for.

#include <picture_hints.h>

#include <QList>

class RecordingPictures : public drills::PictureHints {
public:
    void show(drills::KeyboardMap map) override { maps << map; }
    QList<drills::KeyboardMap> maps;
};
