#include "ui/connection_dialog.h"

#include <QLineEdit>

#include "match/shown_text.h"
#include "net/game_browser.h"
#include "net/port_text.h"
#include "ui/prompter.h"
#include "ui/resources.h"
#include "ui/texts.h"
#include "ui_connection_dialog.h"

namespace torvane {

namespace {

// Where a found game listens, as the host box shows it.
QString foundGameText(const FoundGame& game) {
    const QString address = game.address.protocol() == QAbstractSocket::IPv6Protocol
                                ? '[' + game.address.toString() + ']'
                                : game.address.toString();
    return text::kFoundGame.arg(game.name, address).arg(game.port);
}

}  // namespace

ConnectionDialog::ConnectionDialog(Prompter& prompter, const RememberedPlayer& remembered, QWidget* gameWindow)
    : QWidget(gameWindow, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      ui_(std::make_unique<Ui::ConnectionDialog>()),
      prompter_(prompter),
      remembered_(remembered),
      browser_(new GameBrowser(this)) {
    ui_->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(appIcon());
    ui_->nameEdit->setMaxLength(int(kMaxNameLength));
    ui_->nameEdit->setText(remembered.nickName);
    ui_->portEdit->setText(QString::number(remembered.port));
    ui_->hostBox->setInsertPolicy(QComboBox::NoInsert);
    connectControls();
    centreOver(gameWindow);
    showHosts();
    const ConnectionSettings::Role role = remembered.role.value_or(ConnectionSettings::Role::Server);
    showRole(role);
    ui_->serverOption->setChecked(role == ConnectionSettings::Role::Server);
    ui_->clientOption->setChecked(role == ConnectionSettings::Role::Client);
    ui_->computerOption->setChecked(role == ConnectionSettings::Role::Computer);
    ui_->nameEdit->setFocus();
}

ConnectionDialog::~ConnectionDialog() = default;

void ConnectionDialog::connectControls() {
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
    for (QLineEdit* box : {ui_->nameEdit, ui_->hostBox->lineEdit(), ui_->portEdit}) {
        connect(box, &QLineEdit::returnPressed, this, &ConnectionDialog::onOkClicked);
    }
    connect(ui_->cancelButton, &QPushButton::clicked, this, [this] {
        close();
        emit cancelled();
    });
    connect(ui_->hostBox, &QComboBox::activated, this, &ConnectionDialog::onHostPicked);
    connect(browser_, &GameBrowser::gamesChanged, this, &ConnectionDialog::showHosts);
}

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
    ui_->hostBox->setEditText(role == Role::Server   ? text::kOwnComputer
                              : role == Role::Client ? remembered_.hosts.value(0, text::kLoopbackHost)
                                                     : text::kThisComputer);
    ui_->hostBox->setEnabled(role == Role::Client);
    ui_->portEdit->setEnabled(role != Role::Computer);
}

// The games found, as they come and go, then the recent hosts; what is
// typed stays.
void ConnectionDialog::showHosts() {
    const QString typed = ui_->hostBox->currentText();
    const QSignalBlocker quiet(ui_->hostBox);
    ui_->hostBox->clear();
    for (const FoundGame& game : browser_->games()) {
        ui_->hostBox->addItem(foundGameText(game), QVariant::fromValue(game));
    }
    ui_->hostBox->addItems(remembered_.hosts);
    ui_->hostBox->setEditText(typed);
}

// A game found fills the host with its address, scope and all, and the port.
void ConnectionDialog::onHostPicked(int index) {
    const QVariant data = ui_->hostBox->itemData(index);
    if (!data.canConvert<FoundGame>()) return;
    const FoundGame game = data.value<FoundGame>();
    ui_->hostBox->setEditText(game.address.toString());
    ui_->portEdit->setText(QString::number(game.port));
}

// The first failing check's message, or an empty text when all pass.
QString ConnectionDialog::inputProblem() const {
    const ConnectionSettings::Role role = chosenRole();
    const QString port = ui_->portEdit->text();
    if (ui_->nameEdit->text().isEmpty()) return text::kNeedNickName;
    if (role == ConnectionSettings::Role::Computer) return {};
    if (port.isEmpty()) return text::kNeedPort;
    if (role == ConnectionSettings::Role::Client && ui_->hostBox->currentText().isEmpty()) return text::kNeedHost;
    if (parsePort(port).value_or(0) == 0) return text::kBadPort;
    return {};
}

void ConnectionDialog::onOkClicked() {
    // The host box hands on the Enter it took: once is enough.
    if (!isVisible()) return;
    if (const QString problem = inputProblem(); !problem.isEmpty()) {
        prompter_.critical(this, text::kInputErrorTitle, problem);
        return;
    }
    ConnectionSettings settings;
    settings.role = chosenRole();
    settings.nickName = ui_->nameEdit->text();
    if (settings.role == ConnectionSettings::Role::Client) settings.host = ui_->hostBox->currentText();
    if (settings.role != ConnectionSettings::Role::Computer) settings.port = *parsePort(ui_->portEdit->text());
    close();
    emit accepted(settings);
}

}  // namespace torvane
