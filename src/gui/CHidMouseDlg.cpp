#include "gui/CHidMouseDlg.h"

#include <QAccessible>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QHelpEvent>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>
#include <QWindow>

#include <algorithm>
#include <utility>

#include "gui/CHelpDialog.h"
#include "gui/MainWindowAccessible.h"
#include "gui/StartupProbe.h"
#include "gui/WindowKeys.h"
#include "gui/buttons/AssignmentListAccessible.h"
#include "gui/sections/SettingsSectionsUi.h"
#include "gui/skin/CGdipButton.h"
#include "gui/skin/QtSkinCanvas.h"
#include "gui/skin/SkinImageCache.h"
#include "ports/Clock.h"
#include "screens/main/MainWindowLayout.h"

namespace veldrane {
namespace {

Point ToPoint(QPointF p)
{
    const QPoint rounded = p.toPoint();
    return {rounded.x(), rounded.y()};
}

} // namespace

CHidMouseDlg::CHidMouseDlg(AppContext& context, SkinImageCache& images, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint), m_context(context), m_images(images),
      m_fonts(context.language), m_model(context, *this)
{
    setWindowTitle(QString::fromUtf8(kApplicationTitle.data(), static_cast<qsizetype>(kApplicationTitle.size())));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    static const bool accessibleFactoryInstalled = [] {
        QAccessible::installFactory(&MainWindowAccessible::Factory);
        QAccessible::installFactory(&AssignmentListAccessible::Factory);
        return true;
    }();
    (void)accessibleFactoryInstalled;
    const Size size = m_model.WindowSize();
    setFixedSize(size.width, size.height);

    m_thumb = new CGdipButton(this);
    if (const QImage* picture = m_images.Find(kScrollThumbPicture)) {
        m_thumb->SetPicture(*picture);
    }
    m_thumb->onPress = [this](Point p) { m_model.ThumbPress(p); };
    m_thumb->onDrag = [this](Point p) { m_model.ThumbDrag(p); };
    m_thumb->onRelease = [this] { m_model.ThumbRelease(); };
    ScrollThumbMoved();
    m_settingsSections = std::make_unique<SettingsSectionsUi>(*this, context);

    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        m_model.OnTimer();
        TimersChanged(); // a timer that fired a little early is armed again
    });
}

CHidMouseDlg::~CHidMouseDlg()
{
    // The help panel reaches the window's model while it goes (the keyboard focus leaves it), so it
    // goes first: Qt would delete it only after the model.
    delete m_helpDialog;
}

// Painting ---------------------------------------------------------------------------------------

void CHidMouseDlg::paintEvent(QPaintEvent* event)
{
    // Qt paints into the window's backing store, which reaches the screen in one step: no
    // flicker, and no second buffer as large as the window.
    const QRect area = event->rect();
    {
        QPainter painter(this);
        painter.setClipRect(area);
        painter.fillRect(area, Qt::black);
        QtSkinCanvas canvas(painter, m_images, m_fonts, area);
        m_model.Draw(canvas);
        m_tips.Painted(area, canvas.Elided());
    }
    ReportFirstPaint();
}

bool CHidMouseDlg::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        m_tips.Show(*this, *static_cast<QHelpEvent*>(event));
        return true;
    }
    if (event->type() == QEvent::KeyPress) {
        // Before QWidget takes Tab to move the focus to another widget.
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            keyPressEvent(key);
            return true;
        }
    }
    return QWidget::event(event);
}

void CHidMouseDlg::Redraw(std::optional<Rect> area)
{
    if (area) {
        update(area->left, area->top, area->Width(), area->Height());
    } else {
        update();
    }
}

// Pointer and keys -------------------------------------------------------------------------------

void CHidMouseDlg::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        return;
    }
    m_lastPressGlobal = event->globalPosition().toPoint();
    m_model.Press(ToPoint(event->position()));
}

void CHidMouseDlg::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The first click of a double click was the press; the second is not another one, or a
    // header would open and shut again at once.
    event->accept();
}

void CHidMouseDlg::mouseMoveEvent(QMouseEvent* event)
{
    const bool held = event->buttons() & Qt::LeftButton;
    if (m_manualDrag) {
        if (held) {
            move(m_dragStartWindow + (event->globalPosition().toPoint() - m_dragStartGlobal));
            return;
        }
        m_manualDrag = false;
    }
    m_model.Move(ToPoint(event->position()), held);
}

void CHidMouseDlg::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        return;
    }
    if (m_manualDrag) {
        m_manualDrag = false;
        return;
    }
    m_model.Release(ToPoint(event->position()));
}

void CHidMouseDlg::wheelEvent(QWheelEvent* event)
{
    const int notches = m_wheelNotches.Add(event->angleDelta().y());
    if (notches != 0) {
        m_model.Wheel(ToPoint(event->position()), notches);
    }
    event->accept();
}

void CHidMouseDlg::keyPressEvent(QKeyEvent* event)
{
    if (const auto key = WindowKeyOf(*event)) {
        m_model.KeyPressed(*key);
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void CHidMouseDlg::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    if (const auto focus = m_model.FocusIndex()) {
        AnnounceFocus(*focus);
    }
}

void CHidMouseDlg::FocusMoved()
{
    if (const auto focus = m_model.FocusIndex()) {
        AnnounceFocus(*focus);
    }
}

void CHidMouseDlg::ControlChanged(std::size_t index)
{
    AnnounceReorder();
    if (!QAccessible::isActive()) {
        return;
    }
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(this);
    QAccessibleInterface* control = window ? window->child(static_cast<int>(index)) : nullptr;
    if (!control) {
        return;
    }
    if (QAccessibleValueInterface* value = control->valueInterface()) {
        QAccessibleValueChangeEvent changed(control, value->currentValue());
        QAccessible::updateAccessibility(&changed);
    }
    QAccessible::State states;
    states.checked = true;
    states.expanded = true;
    states.collapsed = true;
    QAccessibleStateChangeEvent changed(control, states);
    QAccessible::updateAccessibility(&changed);
}

void CHidMouseDlg::AnnounceFocus(std::size_t index)
{
    AnnounceReorder();
    if (!QAccessible::isActive() || !hasFocus()) {
        return;
    }
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(this);
    if (QAccessibleInterface* control = window ? window->child(static_cast<int>(index)) : nullptr) {
        QAccessibleEvent focused(control, QAccessible::Focus);
        QAccessible::updateAccessibility(&focused);
    }
}

void CHidMouseDlg::AnnounceReorder()
{
    const std::size_t count = m_model.Controls().size();
    if (std::exchange(m_announcedControls, count) != count && QAccessible::isActive()) {
        QAccessibleEvent reordered(this, QAccessible::ObjectReorder);
        QAccessible::updateAccessibility(&reordered);
    }
}

void CHidMouseDlg::closeEvent(QCloseEvent* event)
{
    event->ignore();
    m_model.CloseRequested();
}

void CHidMouseDlg::leaveEvent(QEvent* event)
{
    m_model.PointerLeft();
    QWidget::leaveEvent(event);
}

void CHidMouseDlg::hideEvent(QHideEvent* event)
{
    m_model.PointerLeft();
    QWidget::hideEvent(event);
}

void CHidMouseDlg::StartWindowDrag(Point)
{
    QWindow* window = windowHandle();
    if (window && window->startSystemMove()) {
        return;
    }
    m_manualDrag = true;
    m_dragStartGlobal = m_lastPressGlobal;
    m_dragStartWindow = pos();
}

// Window life ------------------------------------------------------------------------------------

void CHidMouseDlg::Hide()
{
    if (m_hideMinimises) {
        showMinimized();
    } else {
        hide();
    }
}

void CHidMouseDlg::ShowAndRaise()
{
    if (isMinimized()) {
        showNormal();
    } else {
        show();
    }
    raise();
    activateWindow();
}

void CHidMouseDlg::ExitProcess()
{
    if (m_exitHandler) {
        m_exitHandler();
    } else {
        QCoreApplication::exit(0);
    }
}

void CHidMouseDlg::ShowHelp()
{
    if (!m_helpDialog) {
        m_helpDialog = new CHelpDialog(this, m_model, m_images, m_fonts);
    }
    m_helpDialog->FollowModel();
    m_helpDialog->show();
    m_helpDialog->raise();
}

void CHidMouseDlg::CloseHelp()
{
    if (m_helpDialog) {
        // The panel may be closing from inside its own click.
        m_helpDialog->hide();
        m_helpDialog->deleteLater();
        m_helpDialog = nullptr;
    }
}

void CHidMouseDlg::OpenProfileManager()
{
    if (m_profileManagerOpener) {
        m_profileManagerOpener();
    }
}

std::optional<std::array<std::uint8_t, kMacroPartSize>> CHidMouseDlg::RunMacroManager()
{
    if (m_macroManagerRunner) {
        return m_macroManagerRunner();
    }
    return std::nullopt;
}

void CHidMouseDlg::SetWaitCursor(bool wait)
{
    setCursor(wait ? Qt::WaitCursor : Qt::ArrowCursor);
}

void CHidMouseDlg::TimersChanged()
{
    const auto deadline = m_model.NextDeadline();
    if (!deadline) {
        m_timer.stop();
        return;
    }
    const auto wait = std::max(std::chrono::milliseconds{0}, *deadline - m_context.clock.Now());
    m_timer.start(static_cast<int>(wait.count()));
}

void CHidMouseDlg::ScrollThumbMoved()
{
    const Rect area = m_model.Thumb().Area();
    m_thumb->setGeometry(area.left, area.top, area.Width(), area.Height());
    m_thumb->setVisible(m_model.Right().ThumbShown());
}

} // namespace veldrane
