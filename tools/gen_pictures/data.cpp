#include "data.h"

#include "output_files.h"

#include <QFile>
#include <QRegularExpression>
#include <QTextStream>

#include <iconv.h>

namespace {

bool isGb2312(const QString& text) {
    iconv_t cd = iconv_open("GB2312", "UTF-8");
    if (cd == iconv_t(-1))
        fail(QStringLiteral("iconv cannot convert to GB2312"));
    QByteArray in = text.toUtf8();
    QByteArray out(in.size() * 2 + 4, '\0');
    char* src = in.data();
    char* dst = out.data();
    size_t srcLeft = size_t(in.size());
    size_t dstLeft = size_t(out.size());
    const bool ok = iconv(cd, &src, &srcLeft, &dst, &dstLeft) != size_t(-1) && srcLeft == 0;
    iconv_close(cd);
    return ok;
}

// "+x0,y0,x1,y1" is a rectangle; three or more points make a polygon.
QPolygonF parseShape(const QString& token, const QString& line) {
    const QStringList parts = token.mid(1).split(QLatin1Char(','));
    bool ok = parts.size() % 2 == 0 && parts.size() >= 4;
    std::vector<double> v;
    for (const QString& part : parts) {
        v.push_back(part.toDouble(&ok));
        if (!ok)
            break;
    }
    if (!ok || (v.size() == 4 && (v[0] >= v[2] || v[1] >= v[3])))
        fail(QStringLiteral("bad shape %1 in: %2").arg(token, line));
    if (v.size() == 4)
        return QPolygonF(QRectF(QPointF(v[0], v[1]), QPointF(v[2], v[3])));
    QPolygonF polygon;
    for (size_t i = 0; i < v.size(); i += 2)
        polygon << QPointF(v[i], v[i + 1]);
    return polygon;
}

// The root pictures are numbered key by key in this order (the third zone runs Q W E R T), each
// key's roots in the order of the data.
const QString pictureKeyOrder = QStringLiteral("GFDSAHJKLMQWERTYUIOPNBVCX");

// The root on a line of roots.txt, from its fields f (the key letter first).
Root parseRoot(const QStringList& f, const QString& line, const QString& note) {
    Root r;
    r.label = f[1];
    r.note = note;
    int i = 2;
    if (i < f.size() && f[i].startsWith(QLatin1Char('('))) {
        if (!f[i].endsWith(QLatin1Char(')')) || f[i].size() < 3)
            fail(QStringLiteral("bad reading hint %1 in: %2").arg(f[i], line));
        r.hint = f[i++];
    }
    if (i < f.size() && f[i] == QStringLiteral("wide")) {
        r.wide = true;
        ++i;
    }
    if (i < f.size() && f[i] == QStringLiteral("cut")) {
        if (i + 1 >= f.size())
            fail(QStringLiteral("cut without a host: %1").arg(line));
        r.host = f[i + 1];
        for (i += 2; i < f.size(); ++i) {
            if (f[i].startsWith(QLatin1Char('+')))
                r.keep.push_back(parseShape(f[i], line));
            else if (f[i].startsWith(QLatin1Char('-')))
                r.erase.push_back(parseShape(f[i], line));
            else if (f[i].startsWith(QLatin1Char('x')) && f[i].contains(QLatin1Char('@'))) {
                bool okCount = false, okSpacing = false;
                r.copies = f[i].mid(1).section(QLatin1Char('@'), 0, 0).toInt(&okCount);
                r.spacing = f[i].section(QLatin1Char('@'), 1).toDouble(&okSpacing);
                if (!okCount || !okSpacing || r.copies < 1 || r.copies > 4)
                    fail(QStringLiteral("bad repeat %1 in: %2").arg(f[i], line));
            } else
                fail(QStringLiteral("unexpected %1 in: %2").arg(f[i], line));
        }
        if (r.keep.empty())
            fail(QStringLiteral("cut keeps nothing: %1").arg(line));
    } else if (i < f.size()) {
        fail(QStringLiteral("unexpected %1 in: %2").arg(f[i], line));
    }
    if (!r.isCodePoint() && r.host.isEmpty())
        fail(QStringLiteral("root %1 has neither a code point nor a host").arg(r.label));
    return r;
}

void readKeys(Data& data, const QString& dir) {
    for (const QString& line : dataLines(dir + QStringLiteral("/keys.txt"))) {
        const QStringList f = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (f.size() != 4 || f[0].size() != 1)
            fail(QStringLiteral("bad key line: %1").arg(line));
        Key k;
        k.letter = f[0][0];
        k.code = f[1].toInt();
        k.name = f[2];
        k.level1 = f[3];
        data.keys.push_back(k);
    }
    const QString zoneOrder = QStringLiteral("GFDSAHJKLMTREWQYUIOPNBVCX");
    if (data.keys.size() != 25)
        fail(QStringLiteral("keys.txt must list 25 keys"));
    for (int i = 0; i < 25; ++i) {
        const Key& k = data.keys[size_t(i)];
        if (k.letter != zoneOrder[i] || k.code != (i / 5 + 1) * 10 + i % 5 + 1)
            fail(QStringLiteral("keys.txt: key %1 is out of order or has the wrong code").arg(k.letter));
    }
}

void readVerses(Data& data, const QString& dir) {
    for (const QString& line : dataLines(dir + QStringLiteral("/verses.txt"))) {
        const QStringList f = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        Key* k = f.size() == 3 && f[1].size() == 1 ? data.find(f[1][0]) : nullptr;
        if (!k || k->code != f[0].toInt())
            fail(QStringLiteral("bad verse line: %1").arg(line));
        // 乂 is a root (Q) that GB2312 lacks; the verse names it.
        if (!isGb2312(QString(f[2]).remove(QLatin1Char('|')).remove(QChar(0x4E42))))
            fail(QStringLiteral("verse is not GB2312: %1").arg(line));
        k->verse = f[2];
    }
}

void readRoots(Data& data, const QString& dir) {
    QStringList notes;
    const QStringList rootLines = dataLines(dir + QStringLiteral("/roots.txt"), &notes);
    for (qsizetype n = 0; n < rootLines.size(); ++n) {
        const QString& line = rootLines[n];
        const QStringList f = line.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
        Key* k = f.size() >= 2 && f[0].size() == 1 ? data.find(f[0][0]) : nullptr;
        if (!k)
            fail(QStringLiteral("bad root line: %1").arg(line));
        k->roots.push_back(parseRoot(f, line, notes[n]));
    }
}

} // namespace

QStringList dataLines(const QString& path, QStringList* notes) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        fail(QStringLiteral("cannot read %1").arg(path));
    QStringList lines;
    QTextStream in(&file);
    in.setEncoding(QStringConverter::Utf8);
    while (!in.atEnd()) {
        QString line = in.readLine();
        QString comment;
        const qsizetype hash = line.indexOf(QLatin1Char('#'));
        if (hash >= 0) {
            comment = line.mid(hash + 1).trimmed();
            line.truncate(hash);
        }
        line = line.trimmed();
        if (line.isEmpty())
            continue;
        lines << line;
        if (notes)
            *notes << comment;
    }
    return lines;
}

Data loadData(const QString& dir) {
    Data data;
    readKeys(data, dir);
    readVerses(data, dir);
    readRoots(data, dir);
    size_t rootCount = 0;
    for (const Key& k : data.keys)
        rootCount += k.roots.size();
    if (rootCount != 195)
        fail(QStringLiteral("roots.txt lists %1 roots; the Wubi 86 chart has 195").arg(rootCount));
    for (const Key& k : data.keys) {
        if (k.verse.isEmpty())
            fail(QStringLiteral("no verse for key %1").arg(k.letter));
        if (k.roots.empty() || k.roots.front().label != k.name)
            fail(QStringLiteral("the roots of key %1 must start with its key name").arg(k.letter));
        if (k.roots.size() > 12)
            fail(QStringLiteral("key %1 has more roots than a key cell holds").arg(k.letter));
    }
    return data;
}

std::vector<RootPicture> rootPictures(const Data& data) {
    std::vector<RootPicture> pictures;
    for (QChar letter : pictureKeyOrder)
        for (const Key& k : data.keys)
            if (k.letter == letter)
                for (const Root& r : k.roots)
                    pictures.push_back({int(pictures.size()) + 1, &k, &r});
    return pictures;
}

std::vector<int> loadDrillOrder(const QString& dir, const std::vector<RootPicture>& pictures) {
    std::vector<int> order;
    for (const QString& line : dataLines(dir + QStringLiteral("/root_drill.txt"))) {
        const QStringList f = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        const QString letters = f.isEmpty() ? QString() : f.back();
        if (f.size() != 16 || letters.size() != 15)
            fail(QStringLiteral("bad drill line: %1").arg(line));
        for (int i = 0; i < 15; ++i) {
            const int n = f[i].toInt();
            if (n < 1 || n > int(pictures.size()) || pictures[size_t(n - 1)].key->letter != letters[i])
                fail(QStringLiteral("drill line: picture %1 is not on key %2: %3").arg(f[i], letters[i], line));
            order.push_back(n);
        }
    }
    if (order.size() != pictures.size())
        fail(QStringLiteral("the drill lists %1 counter values, not %2").arg(order.size()).arg(pictures.size()));
    return order;
}
