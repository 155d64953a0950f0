#include "run_list.h"

#include "fonts.h"
#include "widgets.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyleOptionFocusRect>
#include <QStyledItemDelegate>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QWindow>

#include <algorithm>

namespace app {

RunListOpener::RunListOpener(QWidget* parent) : QAbstractButton(parent) {
    setFocusPolicy(Qt::TabFocus);
    setCursor(Qt::PointingHandCursor);
}

void RunListOpener::paintFocus(QPainter& p) {
    if (!hasFocus())
        return;
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.backgroundColor = palette().color(QPalette::Window);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &p, this);
}

void RunChart::setSpeeds(const std::vector<qint64>& speeds) {
    if (speeds == m_speeds)
        return;
    m_speeds = speeds;
    update();
}

void RunChart::paintEvent(QPaintEvent*) {
    QPainter p(this);
    paintFocus(p);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF area = QRectF(rect()).adjusted(3.5, 3.5, -3.5, -3.5);
    p.setPen(QPen(windowText(), 1));
    p.drawLine(area.bottomLeft(), area.bottomRight());
    p.drawLine(area.bottomLeft(), area.topLeft());
    if (m_speeds.size() < 2)
        return;
    const qint64 top = std::max<qint64>(1, *std::max_element(m_speeds.begin(), m_speeds.end()));
    QPolygonF points;
    for (std::size_t i = 0; i < m_speeds.size(); ++i)
        points << QPointF(area.left() +
                              area.width() * static_cast<double>(i) / static_cast<double>(m_speeds.size() - 1),
                          area.bottom() - area.height() * static_cast<double>(m_speeds[i]) / static_cast<double>(top));
    p.setPen(QPen(kBlue, 1.5));
    p.drawPolyline(points);
    p.setBrush(kBlue);
    for (const QPointF& point : points)
        p.drawEllipse(point, 1.5, 1.5);
}

void RunSummary::paintEvent(QPaintEvent*) {
    QPainter p(this);
    paintFocus(p);
    QFont f = font();
    f.setUnderline(underMouse() || hasFocus());
    p.setFont(f);
    p.setPen(kBlue);
    p.drawText(rect(), Qt::AlignLeft | Qt::AlignVCenter, text());
}

namespace {

enum Column { Number, Test, Time, Speed, Accuracy, Wrong, Columns };

// Rows with room above and below the characters: at the face's own height they crowd.
class RoomyRows : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return QStyledItemDelegate::sizeHint(option, index) + QSize(0, 6);
    }
};

} // namespace

RunList::RunList() : QFrame(nullptr, Qt::Popup) {
    setObjectName(QStringLiteral("RunList"));
    named(this, QStringLiteral("本次运行的各次成绩"));
    // A window of its own: it takes the main window's colours and face explicitly.
    setPalette(lightPalette());
    setFont(fonts::song(13));
    setFrameStyle(QFrame::Box | QFrame::Plain);

    m_title = new QLabel(QStringLiteral("本次运行的各次成绩，新的在前（只存在内存里，关闭窗口即清空）"), this);
    m_title->setObjectName(QStringLiteral("Label43"));

    m_rows = new QTreeWidget(this);
    m_rows->setObjectName(QStringLiteral("ListView1"));
    named(m_rows, QStringLiteral("各次成绩列表"));
    m_rows->setColumnCount(Columns);
    m_rows->setHeaderLabels({QStringLiteral("次"), QStringLiteral("文章"), QStringLiteral("用时"),
                             QStringLiteral("速度（字/分）"), QStringLiteral("正确率"), QStringLiteral("错字")});
    m_rows->setItemDelegate(new RoomyRows(m_rows));
    m_rows->setRootIsDecorated(false);
    m_rows->setUniformRowHeights(true);
    m_rows->setAlternatingRowColors(true);
    m_rows->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_rows->setSelectionMode(QAbstractItemView::SingleSelection);
    m_rows->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_rows->header()->setSectionsMovable(false);
    m_rows->header()->setStretchLastSection(false);

    m_chart = new RunChart(this);
    m_chart->setObjectName(QStringLiteral("RunListChart"));
    m_chart->setFocusPolicy(Qt::NoFocus); // here it only shows: the list is open
    m_chart->setCursor(Qt::ArrowCursor);
    m_chart->setFixedHeight(72);

    auto* close = new QPushButton(QStringLiteral("关闭"), this);
    close->setObjectName(QStringLiteral("Button35"));
    close->setCursor(Qt::PointingHandCursor);
    connect(close, &QPushButton::clicked, this, &QWidget::close);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 6, 8, 8);
    layout->setSpacing(6);
    layout->addWidget(m_title);
    layout->addWidget(m_rows);
    layout->addWidget(m_chart);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close);
    layout->addLayout(buttons);
}

void RunList::open(const std::vector<typing::TypingTest::Run>& runs, const QStringList& testNames, QWidget* opener) {
    m_rows->clear();
    QList<QTreeWidgetItem*> items;
    int number = static_cast<int>(runs.size());
    for (const typing::TypingTest::Run& run : runs) {
        auto* item = new QTreeWidgetItem;
        item->setText(Number, QStringLiteral("第 %1 次").arg(number--));
        item->setText(Test, testNames.value(run.test));
        item->setText(Time, typing::TypingTest::durationText(run.seconds));
        item->setText(Speed, QString::number(run.speed));
        item->setText(Accuracy, QStringLiteral("%1%").arg(run.accuracy));
        item->setText(Wrong, QStringLiteral("%1 个").arg(run.wrong));
        for (int c : {Speed, Accuracy, Wrong})
            item->setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
        items << item;
    }
    m_rows->addTopLevelItems(items);
    if (!items.isEmpty())
        m_rows->setCurrentItem(items.first());

    // Every column whole, and as many rows as fit up to ten; more scroll.
    int columns = 0;
    for (int c = 0; c < Columns; ++c) {
        m_rows->resizeColumnToContents(c);
        m_rows->header()->resizeSection(c, m_rows->header()->sectionSize(c) + 16);
        columns += m_rows->header()->sectionSize(c);
    }
    const int rowHeight = items.isEmpty() ? 0 : m_rows->visualItemRect(items.first()).height();
    const int rows = std::min<int>(10, static_cast<int>(items.size()));
    const int rowsHeight = std::max(rowHeight, m_rows->sizeHintForRow(0)) * rows;
    const int frame = 2 * m_rows->frameWidth();
    const int scrollBar = items.size() > 10 ? m_rows->verticalScrollBar()->sizeHint().width() : 0;
    m_rows->setFixedSize(columns + frame + scrollBar, m_rows->header()->sizeHint().height() + rowsHeight + frame);

    std::vector<qint64> speeds;
    for (auto run = runs.rbegin(); run != runs.rend(); ++run)
        speeds.push_back(run->speed);
    m_chart->setSpeeds(speeds);
    m_chart->setVisible(runs.size() >= 2);
    QStringList said;
    for (qint64 s : speeds)
        said << QString::number(s);
    named(m_chart, QStringLiteral("各次速度（每分钟字数，先后）：") + said.join(QStringLiteral("、")));

    // It stands over the window it was opened from (which a window system may need to place it).
    winId();
    if (QWindow* over = opener->window()->windowHandle())
        windowHandle()->setTransientParent(over);
    ensurePolished();
    adjustSize();
    // Under the opener, within its window where it fits (so it covers the page, not what lies
    // beside the window), and kept on its screen.
    QPoint at = opener->mapToGlobal(QPoint(0, opener->height() + 2));
    const QWidget* window = opener->window();
    const int windowRight = window->mapToGlobal(QPoint(window->width(), 0)).x();
    at.setX(std::max(window->mapToGlobal(QPoint(0, 0)).x(), std::min(at.x(), windowRight - width())));
    if (const QScreen* screen = opener->screen()) {
        const QRect room = screen->availableGeometry();
        at.setX(std::clamp(at.x(), room.left(), std::max(room.left(), room.right() - width() + 1)));
        at.setY(std::clamp(at.y(), room.top(), std::max(room.top(), room.bottom() - height() + 1)));
    }
    move(at);
    show();
    m_rows->setFocus(Qt::PopupFocusReason);
}

} // namespace app
