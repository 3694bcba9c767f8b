#include "gui/CAppRulesDialog.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "core/ini/IniDocument.h"
#include "core/text/AppSwitchTexts.h"
#include "core/text/MessageTexts.h"
#include "gui/skin/SkinImageCache.h"
#include "gui/skin/SkinStyleSheet.h"
#include "ports/MessageSink.h"

namespace veldrane {

namespace {

constexpr char kBackgroundPicture[] = "/Config/Config.png";
constexpr int kWidth = 263;
constexpr int kHeight = 300;

QString FromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

CAppRulesDialog::CAppRulesDialog(AppRulesDialogContext context, SkinImageCache& images, QWidget* parent)
    : QDialog(parent), m_context(std::move(context)), m_images(images)
{
    const AppRulesDialogTexts& texts = AppRulesDialogTextsFor(m_context.language);
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("AppRulesDialog"));
    setWindowTitle(FromUtf8(texts.menuEntry).remove(QStringLiteral("...")) + QStringLiteral(" – ") +
                   QString::fromStdString(m_context.profile));
    setFixedSize(kWidth, kHeight);
    setStyleSheet(SkinStyleSheet(m_images, m_context.textColour, Colour{0, 0, 0, 0}) +
                  QStringLiteral("QPushButton, QCheckBox { color: rgb(%1, %2, %3); }")
                      .arg(m_context.textColour.r)
                      .arg(m_context.textColour.g)
                      .arg(m_context.textColour.b));

    auto* layout = new QVBoxLayout(this);
    m_list = new QListWidget(this);
    layout->addWidget(m_list);
    auto* buttons = new QHBoxLayout;
    m_add = new QPushButton(FromUtf8(texts.addNext), this);
    m_remove = new QPushButton(FromUtf8(texts.remove), this);
    buttons->addWidget(m_add);
    buttons->addWidget(m_remove);
    layout->addLayout(buttons);
    m_default = new QCheckBox(FromUtf8(texts.useAsDefault), this);
    layout->addWidget(m_default);

    connect(m_add, &QPushButton::clicked, this, [this] {
        m_add->setEnabled(false);
        QPointer<CAppRulesDialog> self(this);
        m_context.captureNextWindow([self](const FocusedWindow& window) {
            if (!self) {
                return;
            }
            self->m_add->setEnabled(true);
            const std::string appId = AppIdOf(window);
            AppRules rules = self->m_context.load();
            if (appId.empty() || !rules.AddApp(self->m_context.profile, appId)) {
                return;
            }
            self->Store(rules);
        });
    });
    connect(m_remove, &QPushButton::clicked, this, [this] {
        const QListWidgetItem* item = m_list->currentItem();
        if (item == nullptr) {
            return;
        }
        AppRules rules = m_context.load();
        rules.RemoveApp(m_context.profile, item->text().toStdString());
        Store(rules);
    });
    connect(m_default, &QCheckBox::toggled, this, [this](bool on) {
        AppRules rules = m_context.load();
        const bool isDefault = rules.DefaultProfile() && IniNamesEqual(*rules.DefaultProfile(), m_context.profile);
        if (on == isDefault) {
            return;
        }
        if (!rules.SetDefaultProfile(on ? std::optional<std::string>(m_context.profile) : std::nullopt)) {
            Sync();
            return;
        }
        Store(rules);
    });
    Sync();
}

std::string CAppRulesDialog::AppIdOf(const FocusedWindow& window)
{
    for (const std::string* field : {&window.appId, &window.windowClass, &window.instance, &window.executable}) {
        if (!field->empty()) {
            return *field;
        }
    }
    return {};
}

void CAppRulesDialog::Store(const AppRules& rules)
{
    if (const std::error_code error = m_context.store(rules)) {
        m_context.messages.ShowMessage(FormatWithErrorCode(kFileOpenErrorFormat, error.value()), kFileOpenErrorTitle);
    }
    Sync();
}

void CAppRulesDialog::Sync()
{
    const AppRules rules = m_context.load();
    m_list->clear();
    for (const std::string& appId : rules.AppsOf(m_context.profile)) {
        m_list->addItem(QString::fromStdString(appId));
    }
    const QSignalBlocker blocker(m_default);
    m_default->setChecked(rules.DefaultProfile() && IniNamesEqual(*rules.DefaultProfile(), m_context.profile));
}

void CAppRulesDialog::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    if (const QImage* background = m_images.Find(kBackgroundPicture); background != nullptr && !background->isNull()) {
        painter.drawImage(rect(), *background, QRect(0, 0, width(), std::min(height(), background->height())));
    } else {
        painter.fillRect(rect(), Qt::black);
    }
}

} // namespace veldrane
