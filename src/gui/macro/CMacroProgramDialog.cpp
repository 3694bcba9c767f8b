#include "gui/macro/CMacroProgramDialog.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QWheelEvent>
#include <QWindow>

#include "core/macro/MacroItem.h"
#include "core/text/Fonts.h"
#include "core/text/MacroManagerTexts.h"
#include "gui/CLBEditorWnd.h"
#include "gui/WindowKeys.h"
#include "gui/skin/FittedItemDelegate.h"
#include "gui/skin/QtSkinCanvas.h"
#include "gui/skin/SkinImageCache.h"
#include "gui/skin/SkinStyleSheet.h"
#include "ports/KeyNameSource.h"

namespace veldrane {

namespace {

// The grey of the event lines that do not reach the mouse.
const QColor kLeftOutLineColour(150, 150, 150);

QRect ToQRect(Rect rect)
{
    return QRect(rect.left, rect.top, rect.Width(), rect.Height());
}

QString ColourName(Colour colour)
{
    return QStringLiteral("rgb(%1, %2, %3)").arg(colour.r).arg(colour.g).arg(colour.b);
}

QString FromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

DialogKey DialogKeyOf(int key)
{
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return DialogKey::Enter;
    case Qt::Key_Escape:
        return DialogKey::Escape;
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
        return DialogKey::WindowsKey;
    default:
        return DialogKey::Other;
    }
}

KeyStroke StrokeOf(const QKeyEvent& event)
{
    KeyStroke stroke;
    stroke.nativeScanCode = event.nativeScanCode();
    stroke.toolkitKey = event.key();
    stroke.keypad = event.modifiers().testFlag(Qt::KeypadModifier);
    return stroke;
}

// Replaces the list's lines when they differ from `lines`, and sets its current line.
void ShowLines(QListWidget& list, const std::vector<std::string>& lines, std::optional<std::size_t> selected)
{
    bool same = list.count() == static_cast<int>(lines.size());
    for (int i = 0; same && i < list.count(); ++i) {
        same = list.item(i)->text() == FromUtf8(lines[static_cast<std::size_t>(i)]);
    }
    if (!same) {
        list.clear();
        for (const std::string& line : lines) {
            list.addItem(FromUtf8(line));
        }
    }
    const int row = selected && *selected < lines.size() ? static_cast<int>(*selected) : -1;
    if (list.currentRow() != row) {
        list.setCurrentRow(row);
    }
    if (row < 0) {
        list.clearSelection();
    }
}

} // namespace

CMacroProgramDialog::CMacroProgramDialog(MacroManagerContext context, SkinImageCache& images,
                                         const KeyNameSource& keyNames, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_model(context), m_images(images), m_keyNames(keyNames),
      m_fonts(context.language)
{
    setObjectName(QStringLiteral("CMacroProgramDialog"));
    setModal(true);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    PaintedDialog::InstallAccessibility();
    const Size size = m_model.Open(m_images);
    setFixedSize(size.width, size.height);
    installEventFilter(this);
    if (m_model.HasControls()) {
        CreateControls();
    }
    Sync();
    ApplyFocus();
}

CMacroProgramDialog::~CMacroProgramDialog()
{
    if (m_editor) {
        disconnect(m_editor, nullptr, this, nullptr);
    }
}

std::optional<MacroData> CMacroProgramDialog::Run(MacroManagerContext context, SkinImageCache& images,
                                                  const KeyNameSource& keyNames, QWidget* parent)
{
    CMacroProgramDialog dialog(context, images, keyNames, parent);
    dialog.exec();
    return dialog.Model().Result();
}

QString CMacroProgramDialog::ShownEventLine(const QString& line)
{
    // An event line keeps its key name whole and its marker: the blanks before "Dn" and "Up"
    // shrink to one, so that a press can be told from a release in the list's width.
    QString shown = line;
    for (const std::string_view marker : {kPressMarker, kReleaseMarker}) {
        const QString wide = FromUtf8(marker);
        if (shown.endsWith(wide)) {
            shown.chop(wide.size());
            shown += QLatin1Char(' ') + wide.trimmed();
            break;
        }
    }
    return shown;
}

QFont CMacroProgramDialog::ListFont() const
{
    return m_fonts.ListFont();
}

void CMacroProgramDialog::CreateControls()
{
    const QFont& font = m_fonts.FontFor(FontRole::MacroManager);
    // The lists lie on the wells of the skin's picture, which show through them.
    setStyleSheet(SkinStyleSheet(m_images, m_model.TextColour(), Colour{0, 0, 0, 0}));

    const auto makeList = [&](Rect rect, const char* name) {
        auto* list = new QListWidget(this);
        list->setObjectName(QString::fromLatin1(name));
        list->setGeometry(ToQRect(rect));
        list->setFont(ListFont());
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        list->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
        list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        list->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        list->installEventFilter(this);
        list->viewport()->installEventFilter(this);
        return list;
    };
    const MacroManagerTexts& texts = m_model.Texts();
    m_macroList = makeList(kMacroListRect, "MacroList");
    m_macroList->setAccessibleName(FromUtf8(texts.selectMacro));
    m_macroList->setItemDelegate(new FittedItemDelegate(m_macroList));
    m_eventList = makeList(kEventListRect, "EventList");
    m_eventList->setAccessibleName(FromUtf8(texts.keyPressSequence));
    m_eventList->setItemDelegate(new FittedItemDelegate(m_eventList, &CMacroProgramDialog::ShownEventLine));

    m_loopField = new QLineEdit(this);
    m_loopField->setObjectName(QStringLiteral("LoopField"));
    m_loopField->setAccessibleName(FromUtf8(texts.loopTimes));
    m_loopField->setGeometry(ToQRect(kLoopFieldRect));
    m_loopField->setFont(font);
    m_loopField->setAlignment(Qt::AlignCenter);
    m_loopField->setFrame(false);
    m_loopField->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), m_loopField));
    m_loopField->setStyleSheet(
        QStringLiteral("QLineEdit { background: %1; border: none; padding: 0px; }").arg(ColourName(kLoopFieldBrush)));
    m_loopField->installEventFilter(this);

    connect(m_macroList, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!m_syncing && row >= 0) {
            m_model.SelectMacro(static_cast<std::size_t>(row));
            Sync();
        }
    });
    // A highlight taken away (a Ctrl+click on the selected line) selects nothing in the model.
    connect(m_macroList, &QListWidget::itemSelectionChanged, this, [this] {
        if (!m_syncing && m_macroList->selectedItems().isEmpty()) {
            m_model.DeselectMacro();
            Sync();
        }
    });
    connect(m_eventList, &QListWidget::itemSelectionChanged, this, [this] {
        if (!m_syncing && m_eventList->selectedItems().isEmpty()) {
            m_model.DeselectEvent();
            Sync();
        }
    });
    connect(m_macroList, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        const auto request = m_model.DoubleClickMacro(static_cast<std::size_t>(m_macroList->row(item)));
        Sync();
        OpenEditor(request);
    });
    connect(m_eventList, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!m_syncing && row >= 0) {
            const auto request = m_model.SelectEvent(static_cast<std::size_t>(row));
            Sync();
            OpenEditor(request);
        }
    });
    connect(m_eventList, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        const auto request = m_model.DoubleClickEvent(static_cast<std::size_t>(m_eventList->row(item)));
        Sync();
        OpenEditor(request);
    });
    connect(m_loopField, &QLineEdit::textEdited, this, [this](const QString& text) {
        m_model.LoopFieldChanged(text.toStdString());
        Sync();
    });
}

void CMacroProgramDialog::Sync()
{
    m_syncing = true;
    setWindowTitle(FromUtf8(m_model.WindowText()));
    if (m_macroList) {
        ShowLines(*m_macroList, m_model.MacroNames(), m_model.SelectedMacro());
        ShowLines(*m_eventList, m_model.EventLines(), m_model.SelectedEvent());
        MarkLeftOutLines();
        if (m_model.SelectedEvent()) {
            m_eventList->scrollToItem(m_eventList->item(static_cast<int>(*m_model.SelectedEvent())));
        }
        if (m_model.SelectedMacro()) {
            m_macroList->scrollToItem(m_macroList->item(static_cast<int>(*m_model.SelectedMacro())));
        }
        const QString loopText = FromUtf8(m_model.LoopFieldText());
        if (m_loopField->text() != loopText) {
            m_loopField->setText(loopText);
        }
        m_loopField->setEnabled(m_model.LoopFieldEnabled());
        // During a recording the keys go to the event list, as they would to the focused list.
        if (m_model.IsRecording() && !m_editor && !m_eventList->hasFocus()) {
            m_eventList->setFocus(Qt::OtherFocusReason);
        }
        GrabKeyboardWhileRecording(m_model.IsRecording() && !m_editor && !m_finished);
    }
    m_syncing = false;
    update();
}

void CMacroProgramDialog::MarkLeftOutLines()
{
    // The lines that do not reach the mouse are struck through, in grey.
    const std::optional<std::size_t> leftOut = m_model.FirstLeftOutLine();
    for (int row = 0; row < m_eventList->count(); ++row) {
        QListWidgetItem* item = m_eventList->item(row);
        const bool marked = leftOut && static_cast<std::size_t>(row) >= *leftOut;
        if (item->font().strikeOut() == marked && item->data(Qt::ForegroundRole).isValid() == marked) {
            continue;
        }
        QFont font = m_eventList->font();
        font.setStrikeOut(marked);
        item->setFont(font);
        item->setData(Qt::ForegroundRole, marked ? QVariant(QBrush(kLeftOutLineColour)) : QVariant());
    }
}

void CMacroProgramDialog::OpenEditor(const std::optional<LineEditRequest>& request)
{
    if (!request || m_editor) {
        return;
    }
    QListWidget& list = request->mode == LineEditorMode::MacroName ? *m_macroList : *m_eventList;
    const LineEditorMode mode = request->mode;
    auto* editor = new CLBEditorWnd(
        list, mode,
        [this, mode](const LineEditorCommit& commit) {
            if (mode == LineEditorMode::MacroName) {
                m_model.CommitMacroName(commit.line, commit.text);
            } else {
                m_model.CommitDelay(commit.line, commit.text);
            }
            Sync();
        },
        [this] {
            m_model.RefuseDelay();
            Sync();
        });
    if (editor->BeginEdit(static_cast<int>(request->line))) {
        m_editor = editor;
        // The focus goes back to the control the edit started from.
        connect(editor, &QObject::destroyed, this, [this] { ApplyFocus(); });
    }
}

// Keys ----------------------------------------------------------------------------------------------

bool CMacroProgramDialog::HandleKey(QKeyEvent* event)
{
    const bool press = event->type() == QEvent::KeyPress;
    if (!press && event->isAutoRepeat()) {
        return true;
    }
    const std::string name = m_keyNames.KeyName(StrokeOf(*event));
    const std::optional<std::size_t> focusBefore = m_model.FocusIndex();
    const KeyOutcome outcome =
        press ? m_model.KeyPress(name, DialogKeyOf(event->key()), event->isAutoRepeat(), WindowKeyOf(*event))
              : m_model.KeyRelease(name, true);
    Sync();
    if (outcome.close) {
        Finish(*outcome.close);
        return true;
    }
    if (m_model.FocusIndex() != focusBefore) {
        ApplyFocus();
    } else if (focusBefore && press) {
        PaintedDialog::AnnounceChange(*this, *focusBefore);
    }
    OpenEditor(outcome.edit);
    return !outcome.passOn;
}

void CMacroProgramDialog::ApplyFocus()
{
    MoveFocus(*this, ControlWidget(static_cast<std::size_t>(m_model.Focus())), m_model.FocusIndex());
}

QWidget* CMacroProgramDialog::ControlWidget(std::size_t key) const
{
    switch (static_cast<MacroControl>(key)) {
    case MacroControl::MacroList:
        return m_macroList;
    case MacroControl::EventList:
        return m_eventList;
    case MacroControl::LoopField:
        return m_loopField;
    default:
        return nullptr;
    }
}

void CMacroProgramDialog::PressControl(std::size_t key)
{
    const std::vector<FocusControl> controls = m_model.Controls();
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (controls[i].key == key) {
            const PressOutcome outcome = m_model.ActOn(i);
            Sync();
            PaintedDialog::AnnounceChange(*this, i);
            if (outcome.close) {
                Finish(*outcome.close);
            }
            return;
        }
    }
}

void CMacroProgramDialog::FocusControlByKey(std::size_t key)
{
    m_model.SetFocus(static_cast<MacroControl>(key));
    ApplyFocus();
}

void CMacroProgramDialog::keyPressEvent(QKeyEvent* event)
{
    // Reached only by keys a list passed on; the model has seen them. Enter and Escape must not
    // reach QDialog, which would close the dialog.
    event->accept();
}

void CMacroProgramDialog::keyReleaseEvent(QKeyEvent* event)
{
    event->accept();
}

bool CMacroProgramDialog::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::FocusIn && watched != this && !m_editor) {
        // A click into a list or the field takes the keyboard focus there, and the ring follows.
        for (const MacroControl control : {MacroControl::MacroList, MacroControl::EventList, MacroControl::LoopField}) {
            if (watched == ControlWidget(static_cast<std::size_t>(control)) && m_model.Focus() != control) {
                m_model.SetFocus(control);
                update();
            }
        }
    }
    if (type == QEvent::KeyPress || type == QEvent::KeyRelease) {
        // A key on its way up from a control to the dialog has been handled where it started.
        const bool fromControl = watched == this && focusWidget() && focusWidget() != this;
        if (fromControl || m_editor) {
            return false;
        }
        return HandleKey(static_cast<QKeyEvent*>(event));
    }
    if (m_eventList && watched == m_eventList->viewport()) {
        if (type == QEvent::MouseButtonPress && static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
            // The menu acts on the line that was clicked, which it selects first.
            const auto* press = static_cast<QMouseEvent*>(event);
            if (const int row = m_eventList->indexAt(press->position().toPoint()).row(); row >= 0) {
                m_model.PointAtEvent(static_cast<std::size_t>(row));
                Sync();
            }
            ShowEventMenu(press->globalPosition().toPoint());
            return true;
        }
        if (type == QEvent::ContextMenu) {
            return true;
        }
    }
    if (type == QEvent::Wheel && m_macroList &&
        (watched == m_macroList->viewport() || watched == m_eventList->viewport())) {
        ScrollEvents(static_cast<QWheelEvent*>(event)->angleDelta().y());
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

// Pointer ---------------------------------------------------------------------------------------------

void CMacroProgramDialog::ShowEventMenu(QPoint globalPos)
{
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("MacroList"));
    for (const MacroManagerModel::MenuEntry& entry : m_model.EventListMenu()) {
        QAction* action = menu.addAction(FromUtf8(entry.text));
        const EventListCommand command = entry.command;
        connect(action, &QAction::triggered, this, [this, command] {
            m_model.RunMenuCommand(command);
            Sync();
        });
    }
    menu.exec(globalPos);
}

void CMacroProgramDialog::ScrollEvents(int wheelDelta)
{
    const int lines = m_model.Wheel(wheelDelta);
    if (m_eventList && lines != 0) {
        QScrollBar* bar = m_eventList->verticalScrollBar();
        bar->setValue(bar->value() + lines);
    }
}

void CMacroProgramDialog::wheelEvent(QWheelEvent* event)
{
    ScrollEvents(event->angleDelta().y());
    event->accept();
}

void CMacroProgramDialog::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        return;
    }
    const QPoint pos = event->position().toPoint();
    const PressOutcome outcome = m_model.Press({pos.x(), pos.y()});
    Sync();
    if (outcome.close) {
        Finish(*outcome.close);
        return;
    }
    if (outcome.startMove) {
        QWindow* window = windowHandle();
        if (!window || !window->startSystemMove()) {
            m_manualMove = true;
            m_moveStartGlobal = event->globalPosition().toPoint();
            m_moveStartPos = this->pos();
        }
    }
}

void CMacroProgramDialog::mouseMoveEvent(QMouseEvent* event)
{
    if (m_manualMove && (event->buttons() & Qt::LeftButton)) {
        move(m_moveStartPos + event->globalPosition().toPoint() - m_moveStartGlobal);
        return;
    }
    const QPoint pos = event->position().toPoint();
    if (m_model.Hover(Point{pos.x(), pos.y()})) {
        update();
    }
}

void CMacroProgramDialog::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        m_manualMove = false;
    }
}

void CMacroProgramDialog::leaveEvent(QEvent* event)
{
    QDialog::leaveEvent(event);
    if (m_model.Hover(std::nullopt)) {
        update();
    }
}

QFont CMacroProgramDialog::HintFont(const QString& hint) const
{
    // The hint takes the lines its area holds, in a smaller size if the manager's font needs more.
    constexpr int kSmallestPixelSize = 9;
    QFont font = m_fonts.FontFor(FontRole::MacroManager);
    const QRect area = ToQRect(kRecordingHintRect);
    while (font.pixelSize() > kSmallestPixelSize &&
           QFontMetrics(font).boundingRect(area, kHintFlags, hint).height() > area.height()) {
        font.setPixelSize(font.pixelSize() - 1);
    }
    return font;
}

void CMacroProgramDialog::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    {
        QtSkinCanvas canvas(painter, m_images, m_fonts, rect());
        m_model.Draw(canvas);
    }
    if (m_model.IsRecording()) {
        // The dialog has no title bar: the text the window carries while recording is shown in it.
        const QString hint = FromUtf8(m_model.WindowText());
        painter.setClipping(false);
        painter.setFont(HintFont(hint));
        painter.setPen(QColor(232, 51, 43));
        painter.drawText(ToQRect(kRecordingHintRect), kHintFlags, hint);
    }
}

// Closing ---------------------------------------------------------------------------------------------

void CMacroProgramDialog::GrabKeyboardWhileRecording(bool recording)
{
    if (recording == m_keyboardGrabbed) {
        return;
    }
    m_keyboardGrabbed = recording;
    if (recording) {
        m_eventList->grabKeyboard();
    } else {
        m_eventList->releaseKeyboard();
    }
}

void CMacroProgramDialog::Finish(MacroManagerClose close)
{
    if (m_finished) {
        return;
    }
    m_finished = true;
    if (m_eventList) {
        GrabKeyboardWhileRecording(false);
    }
    if (close == MacroManagerClose::Ok) {
        accept();
    } else {
        QDialog::reject();
    }
}

void CMacroProgramDialog::reject()
{
    // Whatever asks the dialog to go away without OK (the window manager, a parent closing) ends
    // it as the Cancel area does.
    if (!m_finished) {
        m_model.Cancel();
    }
    Finish(MacroManagerClose::Cancel);
}

void CMacroProgramDialog::closeEvent(QCloseEvent* event)
{
    if (!m_finished) {
        m_model.Cancel();
        Finish(MacroManagerClose::Cancel);
    }
    event->accept();
}

} // namespace veldrane
