// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "statustext.h"

#include <QHelpEvent>
#include <QPainter>
#include <QScreen>
#include <QSizeGrip>
#include <QStyle>
#include <QStyleOption>
#include <QToolTip>

namespace {

// A line break in a system's reason would push the rest out of the bar.
QString oneLine(const QString &text)
{
    QString line = text;
    return line.replace(QLatin1Char('\n'), QLatin1Char(' '));
}

bool fitsIn(const QWidget *widget, const QString &text, const QRect &area)
{
    return widget->fontMetrics().horizontalAdvance(oneLine(text)) <= area.width();
}

void drawCut(QPainter *painter, const QWidget *widget, const QString &text, const QRect &area,
    Qt::Alignment alignment, QPalette::ColorRole role)
{
    const QString shown
        = widget->fontMetrics().elidedText(oneLine(text), Qt::ElideRight, area.width());
    widget->style()->drawItemText(painter, area,
        QStyle::visualAlignment(widget->layoutDirection(), alignment), widget->palette(),
        widget->isEnabled(), shown, role);
}

// Shows the lines over the area; false when there is nothing to show.
bool showLines(QEvent *event, QWidget *widget, const QStringList &lines, const QRect &area)
{
    if (lines.isEmpty())
        return false;
    const auto *help = static_cast<QHelpEvent *>(event);
    QToolTip::showText(help->globalPos(), plainToolTip(lines, widget), widget, area);
    return true;
}

// Stands first among the permanent widgets while a message is shown, wanting
// the message's width and content with a few characters of it.
class MessageRoom : public QWidget
{
public:
    explicit MessageRoom(QStatusBar *bar)
        : QWidget(bar)
        , bar(bar)
    { }

    QSize sizeHint() const override
    {
        return { fontMetrics().horizontalAdvance(oneLine(bar->currentMessage())), 0 };
    }

    QSize minimumSizeHint() const override
    {
        const QString head = bar->currentMessage().left(9) + QChar(0x2026);
        return { qMin(sizeHint().width(), fontMetrics().horizontalAdvance(head)), 0 };
    }

private:
    QStatusBar *bar;
};

} // namespace

QString plainToolTip(const QStringList &lines, const QWidget *shownOver)
{
    const QFontMetrics metrics(QToolTip::font());
    int widest = 0;
    for (const QString &line : lines)
        widest = qMax(widest, metrics.horizontalAdvance(line));
    // With room for the tooltip's frame and margins.
    const bool fits = widest + 4 * metrics.averageCharWidth()
        <= shownOver->screen()->availableGeometry().width();
    return QStringLiteral("<p style='white-space:%1'>%2</p>")
        .arg(fits ? QStringLiteral("pre") : QStringLiteral("pre-wrap"),
            lines.join(QLatin1Char('\n'))
                .toHtmlEscaped()
                .replace(QLatin1Char('\n'), QLatin1String("<br>")));
}

ElidedLabel::ElidedLabel(QWidget *parent)
    : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
}

QSize ElidedLabel::minimumSizeHint() const
{
    // Enough to tell the texts apart: "Scanned o…", "2 devices…".
    const QString head = text().left(9) + QChar(0x2026);
    const int margins = width() - textArea().width();
    const QSize whole = QLabel::minimumSizeHint();
    return { qMin(whole.width(), fontMetrics().horizontalAdvance(head) + margins), whole.height() };
}

bool ElidedLabel::isCut() const
{
    return !fitsIn(this, text(), textArea());
}

QRect ElidedLabel::textArea() const
{
    const int space = margin();
    return contentsRect().adjusted(space, space, -space, -space);
}

bool ElidedLabel::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        QStringList lines;
        if (isCut())
            lines << text();
        if (!toolTip().isEmpty())
            lines << toolTip();
        if (showLines(event, this, lines, rect()))
            return true;
    }
    return QLabel::event(event);
}

void ElidedLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    drawFrame(&painter);
    drawCut(&painter, this, text(), textArea(), alignment(), foregroundRole());
}

ElidingStatusBar::ElidingStatusBar(QWidget *parent)
    : QStatusBar(parent)
    , messageRoom(new MessageRoom(this))
{
    messageRoom->hide();
    addPermanentWidget(messageRoom, 1);
    connect(this, &QStatusBar::messageChanged, messageRoom, [this](const QString &message) {
        messageRoom->updateGeometry();
        messageRoom->setVisible(!message.isEmpty());
        // Qt repaints only the part it would give the message.
        update();
    });
}

bool ElidingStatusBar::isMessageCut() const
{
    return !currentMessage().isEmpty() && !fitsIn(this, currentMessage(), messageArea());
}

// From the bar's edge to the end of the message's room.
QRect ElidingStatusBar::messageArea() const
{
    const QRect room = messageRoom->geometry();
    if (layoutDirection() == Qt::RightToLeft)
        return { room.left(), 0, width() - 6 - room.left(), height() };
    return { 6, 0, room.right() - 6, height() };
}

bool ElidingStatusBar::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        const QRect area = messageArea();
        if (isMessageCut() && area.contains(static_cast<QHelpEvent *>(event)->pos())
            && showLines(event, this, { currentMessage() }, area))
            return true;
    }
    return QStatusBar::event(event);
}

void ElidingStatusBar::paintEvent(QPaintEvent *event)
{
    if (currentMessage().isEmpty()) {
        QStatusBar::paintEvent(event);
        return;
    }
    // Qt's own painting, but with the message cut rather than clipped.
    QPainter painter(this);
    QStyleOption panel;
    panel.initFrom(this);
    style()->drawPrimitive(QStyle::PE_PanelStatusBar, &panel, &painter, this);
    const auto children = findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly);
    for (QWidget *child : children) {
        if (!child->isVisible() || child == messageRoom || qobject_cast<QSizeGrip *>(child))
            continue;
        QStyleOption frame(0);
        frame.rect = child->geometry().adjusted(-2, -1, 2, 1);
        frame.palette = palette();
        frame.state = QStyle::State_None;
        style()->drawPrimitive(QStyle::PE_FrameStatusBarItem, &frame, &painter, child);
    }
    drawCut(&painter, this, currentMessage(), messageArea(), Qt::AlignLeading | Qt::AlignVCenter,
        QPalette::WindowText);
}
