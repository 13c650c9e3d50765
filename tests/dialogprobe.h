#ifndef DIALOGPROBE_H
#define DIALOGPROBE_H

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QList>
#include <QPushButton>
#include <QTimer>

// Helpers for tests that look into dialogs.
namespace DialogProbe {

// What a dialog run by exec() returns when its OK button did not close it.
constexpr int NotClosedByOk = 42;

inline QString labelText(const QWidget &dialog, const char *objectName)
{
    auto *label = dialog.findChild<QLabel *>(QLatin1String(objectName));
    return label ? label->text() : QStringLiteral("(no label %1)").arg(QLatin1String(objectName));
}

// A dialog frame with a close button and no context-help button. Qt adds the
// title and system-menu hints that such a frame implies.
inline bool hasDialogFrame(const QWidget &dialog)
{
    const Qt::WindowFlags flags = dialog.windowFlags();
    return dialog.windowType() == Qt::Dialog && flags.testFlag(Qt::WindowCloseButtonHint)
        && !flags.testFlag(Qt::WindowContextHelpButtonHint);
}

// Runs the dialog modally and presses its button named okButton.
inline int execPressingOk(QDialog &dialog)
{
    QTimer::singleShot(0, &dialog,
        [&dialog] { dialog.findChild<QPushButton *>(QStringLiteral("okButton"))->click(); });
    // Only a guard, so that a button that does nothing fails instead of hanging.
    QTimer::singleShot(10000, &dialog, [&dialog] { dialog.done(NotClosedByOk); });
    return dialog.exec();
}

// While it lives, closes every modal dialog that comes up, and records its title
// and the text of its button named okButton.
class ModalCloser
{
public:
    struct Shown
    {
        QString title;
        QString okText;
    };

    ModalCloser()
    {
        QObject::connect(&poll, &QTimer::timeout, &poll, [this] {
            QWidget *modal = QApplication::activeModalWidget();
            if (!modal)
                return;
            auto *ok = modal->findChild<QPushButton *>(QStringLiteral("okButton"));
            shown.append({ modal->windowTitle(), ok ? ok->text() : QString() });
            modal->close();
        });
        poll.start(10);
    }

    QList<Shown> shown;

private:
    QTimer poll;
};

} // namespace DialogProbe

#endif // DIALOGPROBE_H
