#include "gui/CConfigDialog.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QWindow>

#include "core/text/AppSwitchTexts.h"
#include "core/text/Fonts.h"
#include "core/text/ProfileManagerTexts.h"
#include "gui/CLBEditorWnd.h"
#include "gui/WindowKeys.h"
#include "gui/skin/FittedItemDelegate.h"
#include "gui/skin/QtSkinCanvas.h"
#include "gui/skin/SkinImageCache.h"
#include "gui/skin/SkinStyleSheet.h"

namespace veldrane {

namespace {

QRect ToQRect(Rect rect)
{
    return QRect(rect.left, rect.top, rect.Width(), rect.Height());
}

QString FromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

Point ToPoint(QPointF p)
{
    const QPoint rounded = p.toPoint();
    return {rounded.x(), rounded.y()};
}

} // namespace

CConfigDialog::CConfigDialog(ConfigDialogContext context, SkinImageCache& images, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint), m_applications(context.openApplications),
      m_language(context.language), m_model(std::move(context)), m_images(images), m_fonts(m_model.InterfaceLanguage())
{
    setObjectName(QStringLiteral("CConfigDialog"));
    setWindowTitle(FromUtf8(m_model.Texts().title));
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    PaintedDialog::InstallAccessibility();
    setWindowOpacity(ConfigDialogModel::kWindowAlpha / 255.0);
    const Size size = m_model.Open(m_images);
    setFixedSize(size.width, size.height);
    CreateList();
    Sync();
    ApplyFocus();
}

CConfigDialog::~CConfigDialog()
{
    if (m_editor) {
        disconnect(m_editor, nullptr, this, nullptr);
    }
}

CConfigDialog* CConfigDialog::Open(ConfigDialogContext context, SkinImageCache& images, QWidget* parent)
{
    auto* dialog = new CConfigDialog(std::move(context), images, parent);
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
    return dialog;
}

CLBEditorWnd* CConfigDialog::Editor() const
{
    return m_editor;
}

void CConfigDialog::CreateList()
{
    // The background picture shows through the list.
    setStyleSheet(SkinStyleSheet(m_images, m_model.TextColour(), Colour{0, 0, 0, 0}));
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("ProfileList"));
    m_list->setAccessibleName(FromUtf8(m_model.Texts().title));
    // The list lies inside the well its picture draws, as the macro manager's lists lie in theirs,
    // with rows of the same height.
    m_list->setGeometry(ToQRect(ConfigDialogModel::kListControl));
    m_list->setFont(FontBook(m_model.InterfaceLanguage()).ListFont());
    m_list->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    m_list->setItemDelegate(new FittedItemDelegate(m_list));
    m_list->viewport()->setAutoFillBackground(false);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->installEventFilter(this);
    m_list->viewport()->installEventFilter(this);

    connect(m_list, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!m_syncing && row >= 0) {
            Apply(m_model.SelectionChanged(static_cast<std::size_t>(row)));
        }
    });
    connect(m_list, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        Apply(m_model.DoubleClicked(static_cast<std::size_t>(m_list->row(item))));
    });
}

void CConfigDialog::Sync()
{
    m_syncing = true;
    const std::vector<std::string> names = m_model.Names();
    bool same = m_list->count() == static_cast<int>(names.size());
    for (int i = 0; same && i < m_list->count(); ++i) {
        same = m_list->item(i)->text() == FromUtf8(names[static_cast<std::size_t>(i)]);
    }
    if (!same) {
        m_list->clear();
        for (const std::string& name : names) {
            m_list->addItem(FromUtf8(name));
        }
    }
    const std::optional<std::size_t> selected = m_model.Selected();
    const int row = selected && *selected < names.size() ? static_cast<int>(*selected) : -1;
    if (m_list->currentRow() != row) {
        m_list->setCurrentRow(row);
    }
    if (row < 0) {
        m_list->clearSelection();
    }
    m_syncing = false;
    update();
}

void CConfigDialog::Apply(const ConfigDialogOutcome& outcome, QPoint globalPress)
{
    Sync();
    if (outcome.editLine) {
        OpenEditor(*outcome.editLine);
    }
    if (outcome.post) {
        // The import or export runs once the menu and this event are done, as a posted message would.
        const ProfileManagerNotice notice = *outcome.post;
        QTimer::singleShot(0, this, [this, notice] {
            m_model.RunTransfer(notice);
            Sync();
        });
    }
    if (outcome.close) {
        Finish();
        return;
    }
    if (outcome.startMove) {
        QWindow* window = windowHandle();
        if (!window || !window->startSystemMove()) {
            m_manualMove = true;
            m_moveStartGlobal = globalPress;
            m_moveStartPos = pos();
        }
    }
}

void CConfigDialog::OpenEditor(std::size_t line)
{
    if (m_editor) {
        return;
    }
    auto* editor = new CLBEditorWnd(*m_list, LineEditorMode::ProfileName, [this](const LineEditorCommit& commit) {
        m_model.CommitRename(commit.line, commit.text);
        Sync();
    });
    if (editor->BeginEdit(static_cast<int>(line))) {
        m_editor = editor;
        // The focus goes back to the list once the edit is over: after the editor is gone, for the
        // focus change reaches this dialog's filter, which must not meet an editor half destroyed.
        connect(editor, &QObject::destroyed, this, [this] { QTimer::singleShot(0, this, [this] { ApplyFocus(); }); });
    }
}

bool CConfigDialog::HandleKey(QKeyEvent& event)
{
    const std::optional<WindowKey> key = WindowKeyOf(event);
    if (!key) {
        return false;
    }
    const std::optional<std::size_t> focusBefore = m_model.FocusIndex();
    const ConfigDialogOutcome outcome = m_model.KeyPressed(*key);
    Apply(outcome);
    if (!outcome.close && m_model.FocusIndex() != focusBefore) {
        ApplyFocus();
    }
    return true;
}

void CConfigDialog::ApplyFocus()
{
    MoveFocus(*this, ControlWidget(static_cast<std::size_t>(m_model.Focus())), m_model.FocusIndex());
}

QWidget* CConfigDialog::ControlWidget(std::size_t key) const
{
    return static_cast<ConfigControl>(key) == ConfigControl::List ? m_list : nullptr;
}

void CConfigDialog::PressControl(std::size_t key)
{
    Apply(m_model.PressControl(static_cast<ConfigControl>(key)));
}

void CConfigDialog::FocusControlByKey(std::size_t key)
{
    m_model.SetFocus(static_cast<ConfigControl>(key));
    ApplyFocus();
}

bool CConfigDialog::event(QEvent* event)
{
    // Before QWidget takes Tab to move the focus to another widget.
    // Keys the in-place editor leaves (F2, Insert, the arrows) stay with it.
    if (event->type() == QEvent::KeyPress && !m_finished && !m_editor && HandleKey(*static_cast<QKeyEvent*>(event))) {
        return true;
    }
    return QWidget::event(event);
}

void CConfigDialog::ShowListMenu(QPoint globalPos)
{
    QMenu menu(this);
    // Named after its menu resource, so that the window can be found on the desktop.
    menu.setObjectName(QStringLiteral("ProfileList"));
    menu.setWindowTitle(menu.objectName());
    for (const ConfigDialogModel::MenuEntry& entry : m_model.ListMenu()) {
        QAction* action = menu.addAction(FromUtf8(entry.text));
        const ProfileMenuCommand command = entry.command;
        connect(action, &QAction::triggered, this, [this, command] { Apply(m_model.RunMenuCommand(command)); });
    }
    const std::vector<std::string> names = m_model.Names();
    if (m_applications && m_model.Selected() && *m_model.Selected() < names.size()) {
        const std::string profile = names[*m_model.Selected()];
        QAction* action = menu.addAction(FromUtf8(AppRulesDialogTextsFor(m_language).menuEntry));
        connect(action, &QAction::triggered, this, [this, profile] { m_applications(profile); });
    }
    menu.exec(globalPos);
}

bool CConfigDialog::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    const bool rightButton = (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick ||
                              type == QEvent::MouseButtonRelease) &&
                             static_cast<QMouseEvent*>(event)->button() == Qt::RightButton;
    if (watched == m_list->viewport()) {
        if (rightButton && type == QEvent::MouseButtonRelease) {
            ShowListMenu(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
            return true;
        }
        // The menu acts on the name selected before: the right button selects nothing.
        if (rightButton || type == QEvent::ContextMenu) {
            return true;
        }
    }
    if (watched == m_list && type == QEvent::KeyPress && !m_editor && !m_finished) {
        // The list's own keys (typing a name's first letters) stay the list's.
        return HandleKey(*static_cast<QKeyEvent*>(event));
    }
    if (watched == m_list && type == QEvent::FocusIn && !m_editor && m_model.Focus() != ConfigControl::List) {
        m_model.SetFocus(ConfigControl::List); // a click into the list
        update();
    }
    return QWidget::eventFilter(watched, event);
}

void CConfigDialog::keyPressEvent(QKeyEvent* event)
{
    // Every key of the window has been handled in event().
    event->accept();
}

void CConfigDialog::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QtSkinCanvas canvas(painter, m_images, m_fonts, rect());
    m_model.Draw(canvas);
}

void CConfigDialog::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        return;
    }
    Apply(m_model.Press(ToPoint(event->position())), event->globalPosition().toPoint());
}

void CConfigDialog::mouseMoveEvent(QMouseEvent* event)
{
    if (m_manualMove && (event->buttons() & Qt::LeftButton)) {
        move(m_moveStartPos + event->globalPosition().toPoint() - m_moveStartGlobal);
        return;
    }
    if (m_model.Hover(ToPoint(event->position()))) {
        update();
    }
}

void CConfigDialog::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        m_manualMove = false;
    }
}

void CConfigDialog::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    if (m_model.Hover(std::nullopt)) {
        update();
    }
}

void CConfigDialog::closeEvent(QCloseEvent* event)
{
    // The window system closing the window stores the list like the close button, so the main
    // window learns that the manager is gone.
    if (!m_finished) {
        m_model.Close();
        Finish();
    }
    event->accept();
}

void CConfigDialog::Finish()
{
    if (m_finished) {
        return;
    }
    m_finished = true;
    hide();
    deleteLater();
}

} // namespace veldrane
