#pragma once
// What the pictures are drawn from: the keys, their verses and roots (data/keys.txt, verses.txt,
// roots.txt), and the root drill's pictures in their numbering and the drill's order
// (root_drill.txt). Every file is checked as it is read; a fault stops the run, naming the line.

#include <QChar>
#include <QPolygonF>
#include <QString>
#include <QStringList>

#include <vector>

struct Root {
    QString label;                      // the code point, or a short name for a root that has none
    QString note;                       // what the root is, for the review sheet
    QString host;                       // character the root is cut from, if any
    QString hint;                       // reading hint the charts print after it, such as (半)
    bool wide = false;                  // given two cells on the charts where the key has room
    std::vector<QPolygonF> keep, erase; // fractions of the host's inked box
    int copies = 1;                     // drawn side by side, `spacing` em apart
    qreal spacing = 0;
    bool isCodePoint() const { return label.toUcs4().size() == 1; }
};

struct Key {
    QChar letter;
    int code = 0;
    QString name;   // key-name character
    QString level1; // first-level short-code character
    QString verse;
    std::vector<Root> roots; // key-name character first
    int zone() const { return code / 10; }
};

struct Data {
    std::vector<Key> keys; // in zone order, 11 … 55
    Key* find(QChar letter) {
        for (Key& k : keys)
            if (k.letter == letter)
                return &k;
        return nullptr;
    }
};

Data loadData(const QString& dir);

// The lines of a data file without blank lines and comments; a comment after a line's data is
// kept in notes (by line) when asked for.
QStringList dataLines(const QString& path, QStringList* notes = nullptr);

struct RootPicture {
    int number = 0; // zigenN
    const Key* key = nullptr;
    const Root* root = nullptr;
};

// The root drill's pictures, numbered key by key in the order zigen1 … zigen195 follow.
std::vector<RootPicture> rootPictures(const Data& data);

// Counter value -> picture number, in the drill's order; each key letter is checked against the
// picture's group.
std::vector<int> loadDrillOrder(const QString& dir, const std::vector<RootPicture>& pictures);
