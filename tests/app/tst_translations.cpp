// Qt's own texts under a locale without Chinese (C.UTF-8): the finish message's button and the
// context menus of the boxes the learner types into come out in Simplified Chinese.

#include "qt_desktop.h"
#include "translations.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

class TestTranslations : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        // The locale is one without Chinese, so nothing below is Chinese by the locale's doing.
        QCOMPARE(QLocale::system().language(), QLocale::C);
        QCOMPARE(app::translations::install(), QString());
    }

    // The speed report, as the typing test shows it: its one button reads 确定.
    void messageButton() {
        QStringList buttons;
        QTimer::singleShot(0, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            for (QAbstractButton* b : box->buttons())
                buttons << b->text();
            box->accept();
        });
        app::QtDesktop(nullptr, {}).message(QStringLiteral("您的速度为每分钟：84字"));
        QCOMPARE(buttons, QStringList{QStringLiteral("确定")});
    }

    // Every entry of a box's context menu (撤消, 复制, 粘贴, 全选…) says what it does in Chinese.
    void contextMenus() {
        static const QRegularExpression chinese(QStringLiteral("[\\x{4e00}-\\x{9fff}]"));
        QLineEdit line;
        line.setText(QStringLiteral("学习"));
        QPlainTextEdit memo(QStringLiteral("学习"));
        const std::unique_ptr<QMenu> menus[] = {std::unique_ptr<QMenu>(line.createStandardContextMenu()),
                                                std::unique_ptr<QMenu>(memo.createStandardContextMenu())};
        for (const auto& menu : menus) {
            int entries = 0;
            for (QAction* a : menu->actions()) {
                if (a->isSeparator())
                    continue;
                ++entries;
                QVERIFY2(a->text().contains(chinese), qPrintable(a->text()));
            }
            QVERIFY(entries >= 5);
        }
    }

    // Without the translations the program says which package holds them.
    void missingTranslations() {
        QTemporaryDir empty;
        QVERIFY(app::translations::install(empty.path()).contains(QStringLiteral("qt6-translations-l10n")));
    }
};

int main(int argc, char** argv) {
    qputenv("LC_ALL", "C.UTF-8");
    qunsetenv("LANGUAGE");
    QApplication a(argc, argv);
    TestTranslations t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_translations.moc"
