#include "ui/connection_dialog.h"

#include "match/shown_text.h"
#include "net/port_text.h"
#include "ui/prompter.h"
#include "ui/resources.h"
#include "ui/texts.h"
#include "ui_connection_dialog.h"

namespace torvane {

ConnectionDialog::ConnectionDialog(Prompter& prompter, ConnectionSettings::Role role, QWidget* gameWindow)
    : QWidget(gameWindow, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      ui_(std::make_unique<Ui::ConnectionDialog>()),
      prompter_(prompter) {
    ui_->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(appIcon());
    ui_->nameEdit->setMaxLength(int(kMaxNameLength));
    ui_->portEdit->setText(QString::number(kDefaultPort));
    using Role = ConnectionSettings::Role;
    const std::array<std::pair<QRadioButton*, Role>, 3> options = {
        {{ui_->serverOption, Role::Server}, {ui_->clientOption, Role::Client}, {ui_->computerOption, Role::Computer}}};
    for (const auto& [option, shown] : options) {
        connect(option, &QRadioButton::toggled, this, [this, shown = shown](bool on) {
            if (on) showRole(shown);
        });
    }
    // ＯＫ is the default: Enter in any box presses it.
    ui_->okButton->setDefault(true);
    connect(ui_->okButton, &QPushButton::clicked, this, &ConnectionDialog::onOkClicked);
    for (QLineEdit* box : {ui_->nameEdit, ui_->hostEdit, ui_->portEdit}) {
        connect(box, &QLineEdit::returnPressed, this, &ConnectionDialog::onOkClicked);
    }
    connect(ui_->cancelButton, &QPushButton::clicked, this, [this] {
        close();
        emit cancelled();
    });
    centreOver(gameWindow);
    // The role chosen before the dialog opened (the menu's computer entry).
    if (role == Role::Server) showRole(role);
    for (const auto& [option, shown] : options) option->setChecked(shown == role);
    ui_->nameEdit->setFocus();
}

ConnectionDialog::~ConnectionDialog() = default;

// Not yet shown, the dialog has no frame of its own: take the game window's
// decoration as the measure of it.
void ConnectionDialog::centreOver(const QWidget* gameWindow) {
    const QRect main = gameWindow->frameGeometry();
    const QSize own = size() + (main.size() - gameWindow->size());
    move(qRound(main.left() + main.width() / 2.0 - own.width() / 2.0),
         qRound(main.top() + main.height() / 2.0 - own.height() / 2.0));
}

ConnectionSettings::Role ConnectionDialog::chosenRole() const {
    if (ui_->clientOption->isChecked()) return ConnectionSettings::Role::Client;
    if (ui_->computerOption->isChecked()) return ConnectionSettings::Role::Computer;
    return ConnectionSettings::Role::Server;
}

// Only a client types the host, and every role but the computer the port;
// each switch puts the role's host text back.
void ConnectionDialog::showRole(ConnectionSettings::Role role) {
    using Role = ConnectionSettings::Role;
    ui_->hostEdit->setText(role == Role::Server   ? text::kOwnComputer
                           : role == Role::Client ? text::kLoopbackHost
                                                  : text::kThisComputer);
    ui_->hostEdit->setEnabled(role == Role::Client);
    ui_->portEdit->setEnabled(role != Role::Computer);
}

// The first failing check's message, or an empty text when all pass.
QString ConnectionDialog::inputProblem() const {
    const ConnectionSettings::Role role = chosenRole();
    const QString port = ui_->portEdit->text();
    if (ui_->nameEdit->text().isEmpty()) return text::kNeedNickName;
    if (role == ConnectionSettings::Role::Computer) return {};
    if (port.isEmpty()) return text::kNeedPort;
    if (role == ConnectionSettings::Role::Client && ui_->hostEdit->text().isEmpty()) return text::kNeedHost;
    if (parsePort(port).value_or(0) == 0) return text::kBadPort;
    return {};
}

void ConnectionDialog::onOkClicked() {
    if (const QString problem = inputProblem(); !problem.isEmpty()) {
        prompter_.critical(this, text::kInputErrorTitle, problem);
        return;
    }
    ConnectionSettings settings;
    settings.role = chosenRole();
    settings.nickName = ui_->nameEdit->text();
    if (settings.role == ConnectionSettings::Role::Client) settings.host = ui_->hostEdit->text();
    if (settings.role != ConnectionSettings::Role::Computer) settings.port = *parsePort(ui_->portEdit->text());
    close();
    emit accepted(settings);
}

}  // namespace torvane
