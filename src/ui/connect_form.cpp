#include "ui/connect_form.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "ui/fonts.h"
#include "ui/name_label.h"
#include "ui/prompter.h"
#include "ui/resources.h"
#include "ui/texts.h"

namespace torvane {

namespace {

constexpr QSize kClientSize(347, 132);
constexpr QRect kOptCRect(240, 40, 105, 17);
constexpr QRect kOptCpuRect(240, 72, 105, 17);
constexpr QRect kOptSRect(240, 8, 73, 17);
constexpr QRect kCancelRect(224, 104, 65, 25);
constexpr QRect kOkRect(64, 104, 65, 25);
constexpr QRect kPortRect(96, 72, 129, 25);
constexpr QRect kHostRect(96, 40, 129, 25);
constexpr QRect kHandleRect(96, 8, 129, 25);
constexpr QRect kLabel3Rect(16, 72, 57, 17);
constexpr QRect kLabel2Rect(16, 40, 73, 17);
constexpr QRect kLabel1Rect(16, 8, 41, 17);
constexpr double kOptionPointSize = 9;
constexpr double kPointSize = 12;
constexpr int kMaxPort = 65535;

template <typename W>
W* Place(W* widget, const QRect& rect, const QFont* font) {
    widget->setGeometry(rect);
    if (font) widget->setFont(*font);
    return widget;
}

QPushButton* MakeButton(QWidget* parent, const QString& caption, const QRect& rect, const QFont& font) {
    auto* button = Place(new QPushButton(caption, parent), rect, &font);
    // Enter does not press a button and Esc does not close the dialog.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

}  // namespace

ConnectForm::ConnectForm(Session& session, Prompter& prompter, QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      session_(session),
      prompter_(prompter) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(text::kDialogCaption);
    setFixedSize(kClientSize);
    BuildControls();
    connect(OptS, &QRadioButton::toggled, this, [this](bool on) {
        if (on) OptS_Click();
    });
    connect(OptC, &QRadioButton::toggled, this, [this](bool on) {
        if (on) OptC_Click();
    });
    connect(OptCpu, &QRadioButton::toggled, this, [this](bool on) {
        if (on) OptCpu_Click();
    });
    connect(OK, &QPushButton::clicked, this, &ConnectForm::OK_Click);
    connect(Cancel, &QPushButton::clicked, this, &ConnectForm::Cancel_Click);
}

void ConnectForm::BuildControls() {
    const QFont pop = fonts::Pop(kPointSize);
    const QFont option = fonts::Pop(kOptionPointSize);
    const QFont gothic = fonts::Gothic(kPointSize);
    Label1 = Place(new QLabel(text::kNameLabel, this), kLabel1Rect, &pop);
    Label2 = Place(new QLabel(text::kHostLabel, this), kLabel2Rect, &pop);
    Label3 = Place(new QLabel(text::kPortLabel, this), kLabel3Rect, &pop);
    Handle = Place(new QLineEdit(this), kHandleRect, nullptr);
    Handle->setMaxLength(int(kMaxNameLength));
    Host = Place(new QLineEdit(text::kLoopbackHost, this), kHostRect, &gothic);
    Port = Place(new QLineEdit(text::kDefaultPort, this), kPortRect, &gothic);
    OK = MakeButton(this, text::kOk, kOkRect, pop);
    Cancel = MakeButton(this, text::kCancel, kCancelRect, pop);
    OptS = Place(new QRadioButton(text::kServer, this), kOptSRect, &option);
    OptC = Place(new QRadioButton(text::kClient, this), kOptCRect, &option);
    OptCpu = Place(new QRadioButton(text::kComputer, this), kOptCpuRect, &option);
    OptS->setChecked(true);
    for (QLabel* label : {Label1, Label2, Label3}) label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    const std::array<QWidget*, 8> order = {Handle, Host, Port, OK, Cancel, OptS, OptC, OptCpu};
    for (std::size_t i = 0; i + 1 < order.size(); ++i) setTabOrder(order[i], order[i + 1]);
}

void ConnectForm::Form_Load() {
    setWindowIcon(AppIcon());
    // Not yet shown, the dialog has no frame of its own: take the main
    // window's decoration as the measure of it.
    const QWidget* mainWindow = parentWidget();
    const QRect main = mainWindow->frameGeometry();
    const QSize own = size() + (main.size() - mainWindow->size());
    move(qRound(main.left() + main.width() / 2.0 - own.width() / 2.0),
         qRound(main.top() + main.height() / 2.0 - own.height() / 2.0));
    // The role chosen before the dialog opened (the menu's computer entry).
    if (session_.settings.VsComputer) {
        OptCpu->setChecked(true);
    } else {
        OptS_Click();
    }
    Handle->setFocus();
}

void ConnectForm::OptS_Click() { ShowRole(text::kOwnComputer, true, false); }

void ConnectForm::OptC_Click() { ShowRole(text::kLoopbackHost, false, false); }

// The computer runs on this machine: no host or port to type.
void ConnectForm::OptCpu_Click() { ShowRole(text::kThisComputer, false, true); }

// Only a client types the host, and every role but the computer the port.
void ConnectForm::ShowRole(const QString& host, bool server, bool computer) {
    Host->setText(host);
    Host->setEnabled(!server && !computer);
    Port->setEnabled(!computer);
    session_.settings.IsServer = server;
    session_.settings.VsComputer = computer;
}

bool ConnectForm::IsValidPort(const QString& text) {
    const QString trimmed = text.trimmed();
    for (QChar c : trimmed) {
        if (c < u'0' || c > u'9') return false;
    }
    bool ok = false;
    const int port = trimmed.toInt(&ok);
    return ok && port >= 1 && port <= kMaxPort;
}

// The first failing check shows its message and stores nothing.
bool ConnectForm::CheckInput() {
    QString problem;
    if (Handle->text().isEmpty()) {
        problem = text::kNeedNickName;
    } else if (session_.settings.VsComputer) {
        return true;
    } else if (Port->text().isEmpty()) {
        problem = text::kNeedPort;
    } else if (!session_.settings.IsServer && Host->text().isEmpty()) {
        problem = text::kNeedHost;
    } else if (!IsValidPort(Port->text())) {
        problem = text::kBadPort;
    }
    if (problem.isEmpty()) return true;
    prompter_.Critical(this, text::kInputErrorTitle, problem);
    return false;
}

void ConnectForm::OK_Click() {
    if (!CheckInput()) return;
    ConnectionSettings& settings = session_.settings;
    settings.NickName = Handle->text();
    if (!settings.VsComputer) {
        if (!settings.IsServer) settings.HostText = Host->text();
        settings.PortText = Port->text();
    }
    settings.ConnectAccepted = true;
    close();
    emit Accepted();
}

void ConnectForm::Cancel_Click() {
    close();
    emit Cancelled();
}

}  // namespace torvane
