#pragma once

#include <QLabel>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

#include "core/text/Language.h"
#include "ports/MessageSink.h"

class QMessageBox;

namespace veldrane {

// The user's messages on a Qt desktop: message boxes with one OK button over the main window (the
// icon of the message's kind, questions with Yes and No, buttons in the interface language),
// notices about the mouse through the desktop's notification service where there is one, and
// balloons at the tray icon with the information icon otherwise. Without a system tray there is no icon to
// show a balloon at, so a balloon becomes a small note in the screen's top right corner that goes
// away by itself and never blocks.
class TrayMessageSink : public MessageSink
{
public:
    // The shortest time a balloon or note stays. The Windows shell keeps every balloon for a
    // readable minimum whatever it is asked for; a desktop here takes the time as given, and the
    // 100 ms of the mouse's arrival and removal notices would be gone before they were seen.
    static constexpr std::chrono::milliseconds kShortestBalloon{3000};

    TrayMessageSink() = default;

    // Null: no tray, balloons go to the note.
    void SetTrayIcon(QSystemTrayIcon* tray) { m_tray = tray; }
    // The window message boxes belong to while it is shown.
    void SetWindow(QWidget* window) { m_window = window; }
    // The language of the boxes' buttons, once the label file has named it; English before.
    void SetLanguage(Language language) { m_language = language; }
    // The look of the boxes (a Qt style sheet): the skin's, so that they match the windows.
    void SetBoxStyle(const QString& styleSheet) { m_boxStyle = styleSheet; }
    // Called with every box just before it is shown; for tests, which cannot click a modal box.
    void SetBoxObserver(std::function<void(QMessageBox&)> observer) { m_boxObserver = std::move(observer); }

    // The desktop's notification service that notices about the mouse go to first; the balloons
    // stay for a desktop without one. Null: balloons only.
    void SetNotifications(DesktopNotifications* notifications) { m_notifications = notifications; }

    // Once the program is ending no message may hold it: boxes are not shown, questions are
    // answered no, balloons are dropped.
    void SetQuiet(bool quiet) { m_quiet = quiet; }

    // A box asked for from another thread (a save's file writes) is shown by the GUI thread,
    // while the caller waits for it to be closed.
    void ShowMessage(std::string_view text, std::string_view title) override;
    void ShowBalloon(std::string_view text, std::string_view title, std::chrono::milliseconds shown) override;
    void ShowNotice(NoticeKind kind, std::string_view text, std::string_view title,
                    std::chrono::milliseconds shown) override;
    bool Ask(std::string_view text, std::string_view title) override;

    // How long a balloon asked to stay `shown` is kept.
    static std::chrono::milliseconds Duration(std::chrono::milliseconds shown);

    // The note shown where there is no tray; for tests.
    const QLabel* Note() const { return m_note.get(); }

private:
    void ShowNote(const QString& text, const QString& title, std::chrono::milliseconds shown);
    // Runs a box with its kind's icon, the language's buttons and the skin's look; the button chosen.
    int RunBox(QMessageBox& box);

    QPointer<QSystemTrayIcon> m_tray;
    QPointer<QWidget> m_window;
    DesktopNotifications* m_notifications = nullptr;
    std::unique_ptr<QLabel> m_note;
    QTimer m_noteTimer;
    bool m_quiet = false;
    Language m_language = Language::English;
    QString m_boxStyle;
    std::function<void(QMessageBox&)> m_boxObserver;
};

} // namespace veldrane
