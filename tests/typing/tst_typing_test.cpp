// The typing test driven as a learner would: choose, start, type, delete, move on to the next line, stop; the
// clock ticks are called directly.
#include "page.h"

#include <QTest>

using typing::TypingTest;

namespace {

// Marks as the tests write them: '-' for "—", 'x' for "×".
QString markPattern(const QString& marks) {
    QString p;
    for (QChar c : marks)
        p += c == TypingTest::kRight.at(0) ? QLatin1Char('-') : c == TypingTest::kWrong.at(0) ? QLatin1Char('x') : c;
    return p;
}

// `prefix` followed by dashes up to a full mark line.
QString fullPattern(const QString& prefix) {
    return prefix + QString(TypingTest::kMarks - prefix.size(), QLatin1Char('-'));
}

} // namespace

class TstTypingTest : public QObject {
    Q_OBJECT
private slots:
    // One move per token: r (the right character), w (a wrong one), s (a wrong one sharing the
    // right one's second byte), a (an ASCII letter), b and f (a half- and a full-width blank),
    // < (Backspace), ^N (caret to N), c:rrw (one input-method commit of several characters,
    // spelled with r, w, a, b and f), p:rrw (one paste). The marks always judge the line as it
    // stands.
    void judging_data() {
        QTest::addColumn<QString>("moves");
        QTest::addColumn<QString>("marks");
        QTest::newRow("right") << "r"
                               << "-";
        QTest::newRow("wrong") << "w"
                               << "x-";
        QTest::newRow("right right wrong") << "r r w"
                                           << "--x-";
        QTest::newRow("wrong, then right goes on") << "w r"
                                                   << "x-";
        QTest::newRow("delete and retype") << "r w < r"
                                           << "--";
        QTest::newRow("deleted wrong character leaves no cross") << "r w <"
                                                                 << "--";
        QTest::newRow("delete to the start clears the marks") << "w <"
                                                              << "-";
        QTest::newRow("delete judges the character now before the caret") << "w w <"
                                                                          << "x-";
        QTest::newRow("stale cross cleared by the next wrong one") << "r w < < w"
                                                                   << "x-";
        QTest::newRow("same second byte is still wrong") << "s"
                                                         << "x-";
        QTest::newRow("paste judges every character") << "w < p:rrr"
                                                      << "---";
        QTest::newRow("paste ending wrong") << "p:rrw"
                                            << "--x-";
        QTest::newRow("paste starting wrong") << "p:wr"
                                              << "x-";
        QTest::newRow("commit judges every character") << "c:wrr"
                                                       << "x--";
        QTest::newRow("commit of a wrong phrase") << "c:ww"
                                                  << "xx-";
        QTest::newRow("commit ending wrong") << "c:rrw"
                                             << "--x-";
        QTest::newRow("commit after a wrong character") << "w c:rr"
                                                        << "x--";
        QTest::newRow("insert in the middle shifts the rest") << "r r r ^1 w"
                                                              << "-xxx";
        QTest::newRow("and deleting it puts them back") << "r r r ^1 w <"
                                                        << "---";
        QTest::newRow("delete in the middle shifts the rest back") << "r w r ^2 <"
                                                                   << "-x";
        QTest::newRow("blank after a code is left out") << "r b r r"
                                                        << "---";
        QTest::newRow("blank after a wrong character") << "w b r"
                                                       << "x-";
        QTest::newRow("full-width blank is left out") << "r f r"
                                                      << "--";
        QTest::newRow("committed with a blank") << "c:rbr"
                                                << "--";
        QTest::newRow("pasted with blanks") << "p:brbfr"
                                            << "--";
        QTest::newRow("single-byte character") << "a"
                                               << "x-";
        QTest::newRow("two single-byte characters share a mark") << "a a"
                                                                 << "x-";
        QTest::newRow("Chinese after one single-byte character") << "a r"
                                                                 << "x-";
        QTest::newRow("back in step after two single-byte characters") << "a a r r w"
                                                                       << "x--x-";
    }
    void judging() {
        QFETCH(QString, moves);
        QFETCH(QString, marks);
        Page p;
        p.choose(1);
        p.t.Button4.click();
        for (const QString& move : moves.split(QLatin1Char(' '))) {
            if (move == QLatin1String("<")) {
                p.t.backspace(1);
            } else if (move.startsWith(QLatin1Char('^'))) {
                p.t.setCaret(1, move.mid(1).toInt());
            } else {
                const bool commits = move.startsWith(QLatin1String("c:"));
                const QString spelled = move.contains(QLatin1Char(':')) ? move.mid(2) : move;
                QString commit;
                int bytes = p.caretBytes(1);
                for (QChar k : spelled) {
                    const QString right = p.rightAt(1, bytes);
                    const QString c = k == QLatin1Char('r')   ? right
                                      : k == QLatin1Char('w') ? Page::wrongFor(right)
                                      : k == QLatin1Char('s') ? Page::sameTrailFor(right)
                                      : k == QLatin1Char('b') ? QStringLiteral(" ")
                                      : k == QLatin1Char('f') ? QStringLiteral("　")
                                                              : QStringLiteral("a");
                    commit += c;
                    if (k != QLatin1Char('b') && k != QLatin1Char('f'))
                        bytes += gb::byteLength(c);
                }
                const QString kept = QString(commit).remove(QLatin1Char(' ')).remove(QChar(0x3000));
                if (commits)
                    QCOMPARE(p.t.commit(1, commit), kept.size());
                else
                    QCOMPARE(p.t.paste(1, commit), !kept.isEmpty());
            }
            QCOMPARE(p.marks(1).text().size(), TypingTest::kMarks);
            QCOMPARE(gb::byteLength(p.marks(1).text()), 118);
        }
        QCOMPARE(markPattern(p.marks(1).text()), fullPattern(marks));
        QVERIFY(!p.line(1).text().contains(QLatin1Char(' ')) && !p.line(1).text().contains(QChar(0x3000)));
        QCOMPARE(p.desktop.beeps, 0); // nothing here is refused aloud, a blank neither
    }

    // A line of wrong characters is still a full line: the focus moves on, and the fourth line
    // finishes the test.
    void fullLineOfWrongCharactersMovesOn() {
        Page p;
        p.choose(2);
        p.t.Button4.click();
        p.typeRest(1, false);
        QCOMPARE(markPattern(p.marks(1).text()), fullPattern(QString(45, QLatin1Char('x'))));
        QVERIFY(p.focus.has(p.t.Memo[4]));
        p.typeRest(2, false);
        p.typeRest(3, false);
        QVERIFY(p.focus.has(p.t.Memo[6]));
        QVERIFY(p.desktop.messages.isEmpty());
        p.typeRest(4, false);
        QCOMPARE(p.desktop.messages.size(), 1);
    }

    void clock_data() {
        QTest::addColumn<int>("seconds");
        QTest::addColumn<QString>("shown");
        QTest::newRow("9") << 9 << "0:9";
        QTest::newRow("10") << 10 << "0:10";
        QTest::newRow("59") << 59 << "0:59";
        QTest::newRow("60") << 60 << "1:0";
        QTest::newRow("65") << 65 << "1:5";
        QTest::newRow("600") << 600 << "10:0";
        QTest::newRow("3599") << 3599 << "59:59";
        QTest::newRow("hour wraps") << 3600 << "0:0";
        QTest::newRow("after the wrap") << 3661 << "1:1";
    }
    void clock() {
        QFETCH(int, seconds);
        QFETCH(QString, shown);
        Page p;
        p.choose(1);
        QCOMPARE(p.t.Panel9.caption(), QStringLiteral("00:00"));
        p.t.Button4.click();
        QCOMPARE(p.t.Panel9.caption(), QStringLiteral("00:00")); // until the first tick
        p.tick(seconds);
        QCOMPARE(p.t.Panel9.caption(), shown);
        QCOMPARE(p.t.Timer1.tag, seconds);
        QCOMPARE(p.t.Label29.caption(), QString::number(seconds));
    }

    void speed_data() {
        QTest::addColumn<int>("test");
        QTest::addColumn<int>("seconds");
        QTest::addColumn<bool>("rightChars");
        QTest::addColumn<int>("firstLineChars"); // -1: the whole line, then Enter is not needed
        QTest::addColumn<QString>("message");
        QTest::newRow("test 2 in 125 s") << 2 << 125 << true << -1 << "您的速度为每分钟：84字，正确率：100%，错字：0个";
        QTest::newRow("wrong characters count too")
            << 2 << 125 << false << -1 << "您的速度为每分钟：84字，正确率：0%，错字：175个";
        QTest::newRow("test 1 in a minute")
            << 1 << 60 << true << -1 << "您的速度为每分钟：190字，正确率：100%，错字：0个";
        // The rest of a line left is not missed: it was not typed yet.
        QTest::newRow("unfinished first line left")
            << 2 << 60 << true << 10 << "您的速度为每分钟：140字，正确率：100%，错字：0个";
        QTest::newRow("finished before the first tick")
            << 2 << 0 << true << -1 << "您的速度为每分钟：10500字，正确率：100%，错字：0个";
    }
    void speed() {
        QFETCH(int, test);
        QFETCH(int, seconds);
        QFETCH(bool, rightChars);
        QFETCH(int, firstLineChars);
        QFETCH(QString, message);
        Page p;
        p.choose(test);
        p.t.Button4.click();
        QVERIFY(p.focus.has(p.t.Memo[3]));
        p.t.paste(1, rightChars ? p.right(1) : p.wrong(1));
        p.tick(seconds);
        if (firstLineChars < 0) {
            p.typeRest(1, rightChars);
        } else {
            for (int i = 1; i < firstLineChars; ++i)
                p.t.paste(1, p.right(1));
            const QString marksBefore = p.marks(1).text();
            p.focus.set(p.line(2), controls::Focus::Reason::Tab);
            QCOMPARE(p.marks(1).text(), marksBefore);
            QCOMPARE(p.line(1).text().size(), firstLineChars);
        }
        QVERIFY(p.focus.has(p.t.Memo[4]));
        p.typeRest(2, rightChars);
        QVERIFY(p.focus.has(p.t.Memo[5]));
        p.typeRest(3, rightChars);
        QVERIFY(p.focus.has(p.t.Memo[6]));
        p.typeRest(4, rightChars);

        QCOMPARE(p.desktop.messages, QStringList{message});
        QCOMPARE(p.desktop.beeps, 1);
        // Ready for another run of the same test, the result still on show.
        QCOMPARE(p.t.chosenTest(), test);
        QVERIFY(p.t.showingResult());
        for (int b = 2; b <= 4; ++b)
            QCOMPARE(p.line(b).text().size(), p.model(b).size());
        QVERIFY(!p.t.Timer1.enabled() && !p.t.Timer2.enabled());
        QCOMPARE(p.t.Label29.caption(), QStringLiteral("0"));
        QCOMPARE(p.t.Timer1.tag, 0);
        QCOMPARE(p.t.Panel9.caption(), seconds == 0 ? QStringLiteral("00:00") : TypingTest::clockText(seconds));
        QVERIFY(p.t.Label42.visible());
        QVERIFY(p.t.Label42.caption().contains(QStringLiteral("正确率")));
        QCOMPARE(p.t.runs().size(), std::size_t{1});
        QVERIFY(p.t.Button4.enabled());
        QVERIFY(p.focus.has(p.t.Memo[3]));
        p.tick(5); // stopped timers deliver nothing
        QCOMPARE(p.t.Label29.caption(), QStringLiteral("0"));
    }

    void noTestChosenAtStart() {
        Page p;
        QCOMPARE(p.t.chosenTest(), 0);
        for (int b = 1; b <= 4; ++b) {
            QVERIFY(p.model(b).isEmpty());
            QVERIFY(p.marks(b).text().isEmpty());
            QCOMPARE(p.t.maxLength(b), 0);
        }
        QVERIFY(!p.t.Button4.enabled() && !p.t.Button6.enabled());
        QVERIFY(!p.t.Timer1.enabled() && !p.t.Timer2.enabled());
        QCOMPARE(p.t.Panel9.caption(), QStringLiteral("00:00"));
        QCOMPARE(p.t.Label29.caption(), QStringLiteral("0"));
    }

    void choosingLoadsTheTestAndResets() {
        Page p;
        p.choose(1);
        p.t.Button4.click();
        p.t.paste(1, p.wrong(1));
        p.tick(3);
        p.choose(3);
        QCOMPARE(p.t.chosenTest(), 3);
        const QStringList lines = TypingTest::passage(3);
        for (int b = 1; b <= 4; ++b) {
            QCOMPARE(p.model(b), lines.at(b - 1));
            QCOMPARE(p.t.maxLength(b), gb::byteLength(lines.at(b - 1)));
            QVERIFY(p.line(b).text().isEmpty());
            QCOMPARE(p.marks(b).text(), TypingTest::fullMarkLine());
        }
        QVERIFY(p.t.Button4.enabled() && p.t.Button6.enabled());
        QVERIFY(p.focus.has(p.t.Memo[3]));
        QVERIFY(!p.t.Timer1.enabled() && !p.t.Timer2.enabled());
        QCOMPARE(p.t.Label29.caption(), QStringLiteral("0"));
        QCOMPARE(p.t.Panel9.caption(), QStringLiteral("00:00"));
        QCOMPARE(p.t.Timer1.tag, 0);
    }

    void choosingTheChosenTestDoesNothing() {
        Page p;
        p.choose(2);
        p.t.paste(1, p.right(1));
        p.choose(2);
        QCOMPARE(p.line(1).text().size(), 1);
        QVERIFY(p.t.Timer1.enabled());
        p.t.Button6.click();
        QVERIFY(!p.t.Timer1.enabled());
    }

    void startClearsAndRunsTheClock() {
        Page p;
        p.choose(1);
        p.t.paste(1, p.wrong(1)); // typing before Start runs the clock and leaves Start enabled
        QVERIFY(p.t.Timer1.enabled() && p.t.Timer2.enabled());
        QVERIFY(p.t.Button4.enabled());
        p.tick(4);
        p.focus.set(p.t.Button4, controls::Focus::Reason::Mouse);
        p.t.Button4.click();
        QVERIFY(p.line(1).text().isEmpty());
        QVERIFY(p.focus.has(p.t.Memo[3]));
        QCOMPARE(p.t.Label29.caption(), QStringLiteral("0"));
        QCOMPARE(p.t.Timer1.tag, 0);
        QCOMPARE(p.t.Panel9.caption(), QStringLiteral("0:4")); // kept until the next tick
        QVERIFY(p.t.Timer1.enabled() && p.t.Timer2.enabled());
        QVERIFY(!p.t.Button4.enabled());
        QCOMPARE(p.marks(1).text(), TypingTest::fullMarkLine()); // the cross went with its character
        p.tick();
        QCOMPARE(p.t.Panel9.caption(), QStringLiteral("0:1"));
    }

    // Stop with nothing typed is the plain reset: nothing to keep.
    void stopResetsToReady() {
        Page p;
        p.choose(4);
        p.t.Button4.click();
        p.tick(70);
        p.focus.set(p.t.Button6, controls::Focus::Reason::Mouse);
        p.t.Button6.click();
        QCOMPARE(p.t.chosenTest(), 4);
        QVERIFY(!p.t.showingResult() && !p.t.Label42.visible() && p.t.runs().empty());
        QCOMPARE(p.marks(1).text(), TypingTest::fullMarkLine());
        QVERIFY(!p.t.Timer1.enabled() && !p.t.Timer2.enabled());
        QCOMPARE(p.t.Label29.caption(), QStringLiteral("0"));
        QCOMPARE(p.t.Panel9.caption(), QStringLiteral("00:00"));
        QVERIFY(p.t.Button4.enabled() && p.t.Button6.enabled());
        QVERIFY(p.focus.has(p.t.Memo[3]));
    }

    // A run stopped with something typed keeps its lines, marks and clock, and its result line,
    // through another Stop and a deletion, until the next start; then the page is as Start
    // leaves it, and the next run counts from 0.
    void stoppedRunKeepsItsResult_data() {
        QTest::addColumn<QString>("next"); // start, type, commit, test
        QTest::newRow("Start") << "start";
        QTest::newRow("a key in line 1") << "type";
        QTest::newRow("an input method's commit") << "commit";
        QTest::newRow("another test") << "test";
    }
    void stoppedRunKeepsItsResult() {
        QFETCH(QString, next);
        Page p;
        p.choose(4);
        p.t.Button4.click();
        const QString typed = p.wrong(1) + p.model(1).mid(1, 3);
        p.t.paste(1, typed);
        p.tick(70);
        const QString marks = p.marks(1).text();
        QCOMPARE(marks.left(2), TypingTest::kWrong + TypingTest::kRight);
        p.focus.set(p.t.Button6, controls::Focus::Reason::Mouse);
        p.t.Button6.click();
        QVERIFY(!p.t.running());
        QCOMPARE(p.line(1).text(), typed);
        QCOMPARE(p.marks(1).text(), marks);
        QCOMPARE(p.t.Panel9.caption(), QStringLiteral("1:10"));
        QCOMPARE(p.t.Label29.caption(), QStringLiteral("0"));
        QCOMPARE(p.t.Timer1.tag, 0);
        QVERIFY(p.t.Button4.enabled());
        QVERIFY(p.focus.has(p.t.Memo[3]));
        QCOMPARE(p.t.Label42.caption(), QStringLiteral("用时 1 分 10 秒，每分钟 3 字，正确率 75%，错字 1 个"));
        QVERIFY(p.t.Label42.visible());
        QVERIFY(p.desktop.messages.isEmpty());

        p.t.Button6.click();
        p.line(1).setCaret(static_cast<int>(typed.size()));
        QVERIFY(!p.t.backspace(1));
        QVERIFY(!p.t.paste(1, QStringLiteral(" ")));
        p.tick(2);
        QCOMPARE(p.line(1).text(), typed);
        QCOMPARE(p.marks(1).text(), marks);
        QCOMPARE(p.t.Panel9.caption(), QStringLiteral("1:10"));
        QVERIFY(p.t.showingResult());

        if (next == QLatin1String("start")) {
            p.t.Button4.click();
            QVERIFY(p.line(1).text().isEmpty());
        } else if (next == QLatin1String("type")) {
            // The key lands in the cleared line, not after the kept text.
            QVERIFY(p.t.edit(1, typed + p.model(1).left(1), static_cast<int>(typed.size()) + 1));
            QCOMPARE(p.line(1).text(), p.model(1).left(1));
            QCOMPARE(p.line(1).caret(), 1);
        } else if (next == QLatin1String("commit")) {
            QCOMPARE(p.t.commit(1, p.model(1).left(2)), 2);
            QCOMPARE(p.line(1).text(), p.model(1).left(2));
        } else {
            p.choose(5);
            QVERIFY(p.line(1).text().isEmpty());
        }
        QCOMPARE(p.t.running(), next != QLatin1String("test"));
        QVERIFY(!p.t.showingResult() && !p.t.Label42.visible());
        QCOMPARE(p.marks(1).text(), TypingTest::fullMarkLine());
        QCOMPARE(p.t.Panel9.caption(), QStringLiteral("00:00"));
        QCOMPARE(p.t.Label29.caption(), QStringLiteral("0"));
        for (int b = 2; b <= 4; ++b)
            QVERIFY(p.line(b).text().isEmpty());
        p.tick();
        QCOMPARE(p.t.Label29.caption(), next == QLatin1String("test") ? QStringLiteral("0") : QStringLiteral("1"));
        QCOMPARE(p.t.runs().size(), std::size_t{1});
    }

    // The session's runs, newest first, every one of them.
    void runsKeptNewestFirst() {
        Page p;
        constexpr int kRuns = 12;
        for (int n = 1; n <= kRuns; ++n) {
            p.choose(n % 2 ? 1 : 2);
            p.t.paste(1, p.model(1).left(n));
            p.tick(n);
            p.t.Button6.click();
            QCOMPARE(p.t.runs().front().test, n % 2 ? 1 : 2);
            QCOMPARE(p.t.runs().front().seconds, n);
            QCOMPARE(p.t.runs().front().speed, qint64{60});
        }
        QCOMPARE(p.t.runs().size(), std::size_t{kRuns});
        QCOMPARE(p.t.runs().back().seconds, 1);
    }

    // No routine key ends a run: Tab and Enter stay among the typed lines, going no further than
    // the last (or, backwards, the first), and neither Stop nor a test button can be reached by
    // the keyboard, so a blank typed next stays in the line that has the focus, which leaves it
    // out. A run started by typing alone is a run too. Only a click on Stop or on a test ends it, and then the keyboard
    // reaches them again.
    void routineKeysKeepTheRun_data() {
        QTest::addColumn<bool>("pressStart");
        QTest::addColumn<QString>("end"); // stop, test, finish
        QTest::newRow("started, stopped") << true << "stop";
        QTest::newRow("started, another test") << true << "test";
        QTest::newRow("typed without Start, stopped") << false << "stop";
        QTest::newRow("started, finished") << true << "finish";
    }

    void routineKeysKeepTheRun() {
        QFETCH(bool, pressStart);
        QFETCH(QString, end);
        Page p;
        p.choose(2);
        const auto reachable = [&] {
            bool any = Page::tabReachable(p.t.Button6);
            for (int n = 11; n <= 16; ++n)
                any = any || Page::tabReachable(p.t.RadioButton[n]);
            return any;
        };
        QVERIFY(reachable());
        if (pressStart) {
            p.t.Button4.click();
        } else {
            p.focus.set(p.line(1), controls::Focus::Reason::Mouse);
            p.t.paste(1, p.right(1));
        }
        QVERIFY(p.t.running());
        QVERIFY(!reachable());
        // Line 1 left unfinished by Enter, then lines 2 and 3 typed in full.
        QVERIFY(p.tab());
        QVERIFY(p.focus.has(p.t.Memo[4]));
        p.typeRest(2);
        p.typeRest(3);
        QVERIFY(p.focus.has(p.t.Memo[6]));
        p.t.paste(4, p.right(4));
        for (bool forward : {true, true, false, true, true}) {
            QVERIFY(p.tab(forward));
            QVERIFY(!p.focus.has(p.t.Button6));
        }
        QVERIFY(p.focus.has(p.t.Memo[6]));
        QVERIFY(!p.t.paste(4, QStringLiteral(" "))); // the blank a Wubi typist presses next
        QCOMPARE(p.line(4).text().size(), 1);
        for (int n = 0; n < 4; ++n)
            QVERIFY(p.tab(false));
        QVERIFY(p.focus.has(p.t.Memo[3]));
        QVERIFY(p.t.running());
        QCOMPARE(p.desktop.messages.size(), 0);

        if (end == QLatin1String("stop")) {
            p.focus.set(p.t.Button6, controls::Focus::Reason::Mouse);
            p.t.Button6.click();
        } else if (end == QLatin1String("test")) {
            p.focus.set(p.t.RadioButton[13], controls::Focus::Reason::Mouse);
            p.t.RadioButton[13].check();
        } else {
            p.focus.set(p.line(4), controls::Focus::Reason::Mouse);
            p.typeRest(4);
            QCOMPARE(p.desktop.messages.size(), 1);
        }
        QVERIFY(!p.t.running());
        QVERIFY(p.t.showingResult() == (end != QLatin1String("test")));
        QVERIFY(reachable());
        QVERIFY(p.focus.has(p.t.Memo[3]));
        QVERIFY(!p.tab()); // the window's tab order decides again
    }

    // Block 1 of test 1 holds 92 bytes: after `before` right characters and `letters` ASCII
    // letters, `input` is pasted or committed. A paste is one edit; a commit goes on in the next
    // line once the first is full. What cannot be typed is left out with one beep.
    void refusals_data() {
        QTest::addColumn<int>("before");
        QTest::addColumn<int>("letters");
        QTest::addColumn<bool>("commits");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("kept"); // what line 1 gains
        QTest::addColumn<QString>("next"); // what line 2 then holds
        QTest::addColumn<bool>("beeps");
        QTest::addColumn<bool>("full");
        QTest::newRow("last character fits") << 45 << 0 << false << "中"
                                             << "中"
                                             << "" << false << true;
        QTest::newRow("paste past the end keeps what fits") << 44 << 0 << false << "中文字"
                                                            << "中文"
                                                            << "" << true << true;
        QTest::newRow("commit past the end goes on") << 44 << 0 << true << "中文字"
                                                     << "中文"
                                                     << "字" << false << true;
        QTest::newRow("phrase with one place left") << 45 << 0 << true << "爱心"
                                                    << "爱"
                                                    << "心" << false << true;
        QTest::newRow("double-byte after an odd byte count") << 45 << 1 << false << "中"
                                                             << ""
                                                             << "" << true << false;
        QTest::newRow("committed after an odd byte count") << 45 << 1 << true << "中"
                                                           << ""
                                                           << "" << true << false;
        QTest::newRow("single byte fills an odd line") << 45 << 1 << false << "a"
                                                       << "a"
                                                       << "" << false << true;
        QTest::newRow("odd line is not full") << 44 << 3 << false << ""
                                              << ""
                                              << "" << false << false;
        QTest::newRow("GBK-only character") << 0 << 0 << false << "丂"
                                            << ""
                                            << "" << true << false;
        QTest::newRow("outside the code page") << 0 << 0 << true << "😀"
                                               << ""
                                               << "" << true << false;
        QTest::newRow("line break") << 0 << 0 << false << "\n"
                                    << ""
                                    << "" << true << false;
        QTest::newRow("pasted line break is left out") << 0 << 0 << false << "人这\n一"
                                                       << "人这一"
                                                       << "" << true << false;
        QTest::newRow("committed line break is left out") << 0 << 0 << true << "人这\n一"
                                                          << "人这一"
                                                          << "" << true << false;
        QTest::newRow("one bad character") << 0 << 0 << false << "中€"
                                           << "中"
                                           << "" << true << false;
    }
    void refusals() {
        QFETCH(int, before);
        QFETCH(int, letters);
        QFETCH(bool, commits);
        QFETCH(QString, input);
        QFETCH(QString, kept);
        QFETCH(QString, next);
        QFETCH(bool, beeps);
        QFETCH(bool, full);
        Page p;
        p.choose(1);
        p.t.Button4.click();
        for (int i = 0; i < before; ++i)
            QVERIFY(p.t.paste(1, p.right(1)));
        for (int i = 0; i < letters; ++i)
            QVERIFY(p.t.paste(1, QStringLiteral("a")));
        const QString old = p.line(1).text();
        const QString oldMarks = p.marks(1).text();
        if (!input.isEmpty()) {
            if (commits)
                QCOMPARE(p.t.commit(1, input), static_cast<int>(kept.size() + next.size()));
            else
                QCOMPARE(p.t.paste(1, input), !kept.isEmpty());
        }
        QCOMPARE(p.line(1).text(), old + kept);
        QCOMPARE(p.line(2).text(), next);
        if (kept.isEmpty())
            QCOMPARE(p.marks(1).text(), oldMarks);
        QCOMPARE(p.desktop.beeps, beeps ? 1 : 0);
        QVERIFY(gb::byteLength(p.line(1).text()) <= 92);
        QCOMPARE(p.focus.has(p.t.Memo[4]) || p.focus.has(p.t.Memo[5]), full);
        QCOMPARE(p.marks(1).text().size(), TypingTest::kMarks);
    }

    // A phrase that fills the fourth line finishes the test; the rest of it is not typed anywhere.
    void commitThatFinishesDropsTheRest() {
        Page p;
        p.choose(1);
        p.t.Button4.click();
        for (int b = 1; b <= 3; ++b)
            QVERIFY(p.t.commit(b, p.model(b)) > 0);
        QVERIFY(p.focus.has(p.t.Memo[6]));
        const QString last = p.model(4);
        QCOMPARE(p.t.commit(4, last.left(last.size() - 1)), last.size() - 1);
        QCOMPARE(p.t.commit(4, last.right(1) + QStringLiteral("多余")), 1);
        QCOMPARE(p.desktop.messages.size(), 1);
        QVERIFY(p.focus.has(p.t.Memo[3]));
        for (int b = 1; b <= 4; ++b)
            QCOMPARE(p.line(b).text(), p.model(b));
    }

    void oddFourthLineDoesNotFinish() {
        Page p;
        p.choose(1); // line 4: 96 bytes
        p.t.Button4.click();
        for (int i = 0; i < 47; ++i)
            p.t.paste(4, p.right(4));
        p.t.paste(4, QStringLiteral("a"));
        QVERIFY(!p.t.paste(4, QStringLiteral("中")));
        QVERIFY(p.desktop.messages.isEmpty());
        QVERIFY(p.t.paste(4, QStringLiteral("b")));
        QCOMPARE(p.desktop.messages.size(), 1);
    }

    // Before a test is chosen there is no passage: nothing is judged, nothing is timed and an
    // emptied line never counts as full.
    // A line full by its last character moves the focus on; BackSpace on the next line, still empty,
    // goes back to the end of the full one, so a wrong last character can be corrected.
    void backspaceGoesBackToTheLineBefore() {
        Page p;
        p.choose(2);
        const QString line1 = p.model(1);
        p.t.commit(1, line1.left(line1.size() - 1) + Page::wrongFor(line1.back()));
        QVERIFY(p.focus.has(p.t.Memo[4]));
        QCOMPARE(markPattern(p.marks(1).text()).at(line1.size() - 1), QLatin1Char('x'));
        QVERIFY(p.t.backspace(2));
        QVERIFY(p.focus.has(p.t.Memo[3]));
        QCOMPARE(p.line(1).caret(), line1.size());
        QCOMPARE(p.line(1).text().size(), line1.size()); // going back deletes nothing
        QVERIFY(p.t.backspace(1));
        p.t.commit(1, line1.right(1));
        QCOMPARE(p.marks(1).text(), TypingTest::fullMarkLine());
        QVERIFY(p.focus.has(p.t.Memo[4]));

        // Only from the start of an empty line, and never before the first.
        p.t.commit(2, p.model(2).left(1));
        p.t.setCaret(2, 0);
        QVERIFY(!p.t.backspace(2));
        QVERIFY(p.focus.has(p.t.Memo[4]));
        p.focus.set(p.t.Memo[3], controls::Focus::Reason::Mouse);
        p.line(1).setCaret(0);
        QVERIFY(!p.t.backspace(1));
        QCOMPARE(p.line(1).text(), line1);
    }

    // The characters a line missed, as the review lists them: the passage characters the typed line
    // has another character for, or leaves out between characters typed; not those after its last
    // character, nor any put out of step by one character too many or too few.
    void missed_data() {
        QTest::addColumn<QString>("passage");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("missed");
        const QString line = QStringLiteral("夕阳西下，断肠人在天涯。");
        QTest::newRow("all right") << line << line << QString();
        QTest::newRow("nothing typed") << line << QString() << QString();
        QTest::newRow("half typed") << line << line.left(5) << QString();
        QTest::newRow("one wrong") << line << QStringLiteral("夕阳西下，断肠人再天涯。") << QStringLiteral("在");
        QTest::newRow("a phrase for one character, the line full")
            << line << QStringLiteral("狠心阳西下，断肠人在天涯") << QStringLiteral("夕");
        QTest::newRow("one left out") << line << QStringLiteral("夕阳下，断肠人在天涯。") << QStringLiteral("西");
        QTest::newRow("the first left out") << line << QStringLiteral("阳西下") << QStringLiteral("夕");
        QTest::newRow("the last wrong") << line << QStringLiteral("夕阳西下，断肠人在天涯，") << QStringLiteral("。");
        QTest::newRow("the last typed wrong") << line << QStringLiteral("夕阳西上") << QStringLiteral("下");
        QTest::newRow("the line before's last character carried over")
            << line << QStringLiteral("也夕阳西下，断肠人在天") << QString();
        QTest::newRow("a letter too many") << line << QStringLiteral("夕阳a西下") << QString();
        QTest::newRow("all wrong") << QStringLiteral("夕阳") << QStringLiteral("错错") << QStringLiteral("夕阳");
        QTest::newRow("twice the same, both missed")
            << QStringLiteral("人人人") << QStringLiteral("人入入") << QStringLiteral("人人");
    }
    void missed() {
        QFETCH(QString, passage);
        QFETCH(QString, typed);
        QTEST(TypingTest::missed(passage, typed), "missed");
    }

    void editsBeforeATestIsChosen() {
        Page p;
        const QString longLine = QStringLiteral("中").repeated(80);
        QVERIFY(p.t.paste(1, longLine)); // no maximum length yet
        QVERIFY(p.t.paste(4, QStringLiteral("ab")));
        p.t.backspace(4);
        p.t.backspace(4);
        QVERIFY(p.line(4).text().isEmpty());
        QVERIFY(!p.t.paste(1, QStringLiteral("丂")));
        QVERIFY(p.desktop.messages.isEmpty());
        QCOMPARE(p.desktop.beeps, 1); // the refused character, not a finish
        QVERIFY(!p.t.Timer1.enabled() && !p.t.Timer2.enabled());
        for (int b = 1; b <= 4; ++b)
            QVERIFY(p.marks(b).text().isEmpty());
        p.choose(1); // and choosing a test clears it all
        QVERIFY(p.line(1).text().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TstTypingTest)
#include "tst_typing_test.moc"
