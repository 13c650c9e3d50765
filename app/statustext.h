// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#ifndef STATUSTEXT_H
#define STATUSTEXT_H

#include <QLabel>
#include <QStatusBar>
#include <QStringList>

// Status texts longer than the room a narrow or scaled window gives them:
// shown cut with an ellipsis, and whole in the tooltip, so nothing is lost.

// Tooltip markup that shows the lines as typed, each on one line where the
// screen of the widget is wide enough and wrapped where the screen's edge would
// cut it: a device name such as <b>x</b> must never be read as markup.
QString plainToolTip(const QStringList &lines, const QWidget *shownOver);

// A status-bar label that shrinks to a few characters and an ellipsis. While
// its text is cut, its tooltip shows the whole text above the label's own
// tooltip. text() stays the whole text.
class ElidedLabel : public QLabel
{
    Q_OBJECT

public:
    explicit ElidedLabel(QWidget *parent = nullptr);

    QSize minimumSizeHint() const override;
    bool isCut() const;

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QRect textArea() const;
};

// A status bar whose temporary message (a flash, an export) is cut the same
// way, whole in the tooltip over it, where Qt's own would be clipped. The
// message has room of its own beside the permanent labels, which share the
// width with it rather than leave it none.
class ElidingStatusBar : public QStatusBar
{
    Q_OBJECT

public:
    explicit ElidingStatusBar(QWidget *parent = nullptr);

    bool isMessageCut() const;

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QRect messageArea() const;

    QWidget *messageRoom = nullptr;
};

#endif // STATUSTEXT_H
