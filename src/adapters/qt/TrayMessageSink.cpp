#include "adapters/qt/TrayMessageSink.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QMetaObject>
#include <QScreen>
#include <QThread>

#include <algorithm>
#include <utility>

#include "core/text/MessageTexts.h"

namespace veldrane {

namespace {

QString FromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

constexpr int kNoteMargin = 16;

QMessageBox::Icon BoxIcon(MessageKind kind)
{
    switch (kind) {
    case MessageKind::Warning:
        return QMessageBox::Warning;
    case MessageKind::Error:
        return QMessageBox::Critical;
    case MessageKind::Information:
        break;
    }
    return QMessageBox::Information;
}

QSystemTrayIcon::MessageIcon BalloonIcon(MessageKind kind)
{
    switch (kind) {
    case MessageKind::Warning:
        return QSystemTrayIcon::Warning;
    case MessageKind::Error:
        return QSystemTrayIcon::Critical;
    case MessageKind::Information:
        break;
    }
    return QSystemTrayIcon::Information;
}

} // namespace

void TrayMessageSink::ShowMessage(std::string_view text, std::string_view title)
{
    if (m_quiet) {
        return;
    }
    if (QCoreApplication::instance() != nullptr && QThread::currentThread() != QCoreApplication::instance()->thread()) {
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [this, text, title] { ShowMessage(text, title); },
            Qt::BlockingQueuedConnection);
        return;
    }
    QWidget* parent = m_window && m_window->isVisible() ? m_window.data() : nullptr;
    QMessageBox box(BoxIcon(KindOfMessage(text, title)), FromUtf8(title), FromUtf8(text), QMessageBox::Ok, parent);
    static_cast<void>(RunBox(box));
}

bool TrayMessageSink::Ask(std::string_view text, std::string_view title)
{
    if (m_quiet) {
        return false;
    }
    QWidget* parent = m_window && m_window->isVisible() ? m_window.data() : nullptr;
    QMessageBox box(QMessageBox::Question, FromUtf8(title), FromUtf8(text), QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::No);
    return RunBox(box) == QMessageBox::Yes;
}

int TrayMessageSink::RunBox(QMessageBox& box)
{
    const MessageBoxButtons& texts = MessageBoxButtonsFor(m_language);
    for (const auto& [button, text] : {std::pair{QMessageBox::Ok, texts.ok}, std::pair{QMessageBox::Yes, texts.yes},
                                       std::pair{QMessageBox::No, texts.no}}) {
        if (QAbstractButton* shown = box.button(button)) {
            shown->setText(FromUtf8(text));
            shown->setIcon({}); // the desktop's stock tick and cross stand out on the dark skin
        }
    }
    box.setStyleSheet(m_boxStyle);
    if (m_boxObserver) {
        m_boxObserver(box);
    }
    return box.exec();
}

std::chrono::milliseconds TrayMessageSink::Duration(std::chrono::milliseconds shown)
{
    return std::max(shown, kShortestBalloon);
}

void TrayMessageSink::ShowBalloon(std::string_view text, std::string_view title, std::chrono::milliseconds shown)
{
    if (m_quiet) {
        return;
    }
    const auto duration = Duration(shown);
    if (m_tray && QSystemTrayIcon::isSystemTrayAvailable()) {
        m_tray->showMessage(FromUtf8(title), FromUtf8(text), BalloonIcon(KindOfMessage(text, title)),
                            static_cast<int>(duration.count()));
        return;
    }
    ShowNote(FromUtf8(text), FromUtf8(title), duration);
}

void TrayMessageSink::ShowNotice(NoticeKind kind, std::string_view text, std::string_view title,
                                 std::chrono::milliseconds shown)
{
    if (m_notifications && m_notifications->Notify(kind, title, text, Duration(shown))) {
        return;
    }
    ShowBalloon(text, title, shown);
}

void TrayMessageSink::ShowNote(const QString& text, const QString& title, std::chrono::milliseconds shown)
{
    if (!m_note) {
        // A tool tip window takes no focus and has no taskbar entry.
        m_note = std::make_unique<QLabel>(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
        m_note->setTextFormat(Qt::PlainText);
        m_note->setMargin(10);
        m_note->setStyleSheet(
            QStringLiteral("QLabel { background: #202020; color: #f0f0f0; border: 1px solid #3fa9f5; }"));
        m_noteTimer.setSingleShot(true);
        QObject::connect(&m_noteTimer, &QTimer::timeout, m_note.get(), &QWidget::hide);
    }
    m_note->setText(title + QLatin1Char('\n') + text);
    m_note->adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        m_note->move(area.right() - m_note->width() - kNoteMargin, area.top() + kNoteMargin);
    }
    m_note->show();
    m_noteTimer.start(shown);
}

} // namespace veldrane
