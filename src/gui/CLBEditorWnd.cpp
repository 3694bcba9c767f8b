#include "gui/CLBEditorWnd.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QListWidget>
#include <QMouseEvent>

namespace veldrane {

CLBEditorWnd::CLBEditorWnd(QListWidget& list, LineEditorMode mode, CommitHandler onCommit, RefusalHandler onRefusal)
    : QLineEdit(list.viewport()), m_list(list), m_model(mode), m_onCommit(std::move(onCommit)),
      m_onRefusal(std::move(onRefusal))
{
    setObjectName(QStringLiteral("CLBEditorWnd"));
    hide();
}

CLBEditorWnd::~CLBEditorWnd()
{
    if (m_grabbing) {
        releaseMouse();
    }
}

bool CLBEditorWnd::BeginEdit(int line)
{
    if (line < 0 || !m_model.BeginEdit(static_cast<std::size_t>(line), static_cast<std::size_t>(m_list.count()))) {
        deleteLater();
        return false;
    }
    QListWidgetItem* item = m_list.item(line);
    setGeometry(m_list.visualItemRect(item).adjusted(-1, -1, 1, 1));
    setFont(m_list.font());
    setText(item->text());
    show();
    grabMouse();
    m_grabbing = true;
    setFocus(Qt::OtherFocusReason);
    return true;
}

bool CLBEditorWnd::event(QEvent* event)
{
    // Tab would move the focus on before keyPressEvent saw it.
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Tab) {
        Handle(LineEditorInput::Tab);
        return true;
    }
    return QLineEdit::event(event);
}

void CLBEditorWnd::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        Handle(LineEditorInput::Enter);
        return;
    case Qt::Key_Escape:
        Handle(LineEditorInput::Escape);
        return;
    default:
        QLineEdit::keyPressEvent(event);
        // The editor asks for every key: one it has no use for (an arrow, F2, Insert) must not
        // reach the list under it, which would move its selection or act on it mid-edit.
        event->accept();
        Handle(LineEditorInput::Other);
        return;
    }
}

void CLBEditorWnd::mousePressEvent(QMouseEvent* event)
{
    // The editor holds the pointer: a press anywhere reaches it first.
    if (event->button() == Qt::LeftButton && !rect().contains(event->position().toPoint())) {
        Handle(LineEditorInput::PressOutside);
        return;
    }
    QLineEdit::mousePressEvent(event);
    Handle(LineEditorInput::PressInside);
}

void CLBEditorWnd::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    Handle(LineEditorInput::FocusLost);
}

void CLBEditorWnd::Handle(LineEditorInput input)
{
    const ListLineEditorModel::Outcome outcome = m_model.Input(input, text().toStdString());
    if (!outcome.ended) {
        return;
    }
    End();
    if (outcome.commit && m_onCommit) {
        m_onCommit(*outcome.commit);
    }
    if (outcome.refused && m_onRefusal) {
        m_onRefusal();
    }
}

void CLBEditorWnd::End()
{
    if (m_grabbing) {
        releaseMouse();
        m_grabbing = false;
    }
    hide();
    deleteLater();
}

} // namespace veldrane
