#include "gui/sections/QtEditBox.h"

#include <QEvent>
#include <QLineEdit>
#include <QRegion>
#include <QWidget>

namespace veldrane {

namespace {

QRect ToQRect(Rect r)
{
    return QRect(r.left, r.top, r.Width(), r.Height());
}

QString FromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A disabled box keeps the skin's colour, dimmed.
constexpr int kDisabledAlpha = 110;

} // namespace

QtEditBox::QtEditBox(QWidget& window, const QFont& font, const QString& objectName)
    : m_window(window), m_edit(new QLineEdit(&window))
{
    m_edit->setObjectName(objectName);
    m_edit->setAlignment(Qt::AlignCenter);
    m_edit->setFrame(false);
    m_edit->setFont(font);
    m_edit->hide();
    ApplyStyle();
    QObject::connect(m_edit, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (m_edited) {
            const QByteArray utf8 = text.toUtf8();
            m_edited(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
        }
    });
    m_window.installEventFilter(this);
}

QtEditBox::~QtEditBox()
{
    m_window.removeEventFilter(this);
    delete m_edit.data();
}

bool QtEditBox::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &m_window && event->type() == QEvent::Paint) {
        // Each drawing of the window decides afresh; the box moves once the drawing is done,
        // not in the middle of it.
        m_shownInDrawing = false;
        if (!m_followPending) {
            m_followPending = true;
            QMetaObject::invokeMethod(
                this, [this] { FollowDrawing(); }, Qt::QueuedConnection);
        }
    }
    return false;
}

void QtEditBox::FollowDrawing()
{
    m_followPending = false;
    if (!m_edit) {
        return;
    }
    if (!m_shownInDrawing || m_visible.isEmpty()) {
        m_edit->hide();
        return;
    }
    if (m_edit->geometry() != m_area) {
        m_edit->setGeometry(m_area);
    }
    if (m_visible == m_area) {
        m_edit->clearMask();
    } else {
        m_edit->setMask(QRegion(m_visible.translated(-m_area.topLeft())));
    }
    m_edit->show();
}

void QtEditBox::Show(Rect area, Rect visible)
{
    m_shownInDrawing = true;
    m_area = ToQRect(area);
    m_visible = visible.IsEmpty() ? QRect() : ToQRect(visible);
}

void QtEditBox::SetEnabled(bool enabled)
{
    if (m_edit && m_edit->isEnabled() != enabled) {
        m_edit->setEnabled(enabled);
    }
}

void QtEditBox::SetText(std::string_view utf8)
{
    const QString text = FromUtf8(utf8);
    if (m_edit && m_edit->text() != text) {
        m_edit->setText(text);
    }
}

void QtEditBox::SetTextColour(Colour colour)
{
    if (colour != m_colour) {
        m_colour = colour;
        ApplyStyle();
    }
}

void QtEditBox::SetEditedHandler(EditedHandler handler)
{
    m_edited = std::move(handler);
}

void QtEditBox::ApplyStyle()
{
    if (!m_edit) {
        return;
    }
    // Transparent, so that the skin's field picture shows under the digits.
    m_edit->setStyleSheet(QStringLiteral("QLineEdit { background: transparent; border: none; padding: 0px;"
                                         " color: rgb(%1, %2, %3); }"
                                         " QLineEdit:disabled { color: rgba(%1, %2, %3, %4); }")
                              .arg(m_colour.r)
                              .arg(m_colour.g)
                              .arg(m_colour.b)
                              .arg(kDisabledAlpha));
}

} // namespace veldrane
