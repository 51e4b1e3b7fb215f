#pragma once
// The dialog that asks, once per run, whether this copy serves or connects,
// with the nickname, host and port.

#include <QWidget>

#include "ui/session.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace torvane {

class Prompter;

class ConnectForm : public QWidget {
    Q_OBJECT
public:
    ConnectForm(Session& session, Prompter& prompter, QWidget* mainWindow);

    // Icon, position over the main window, and the server role.
    void Form_Load();

    QRadioButton* OptC = nullptr;
    QRadioButton* OptCpu = nullptr;
    QRadioButton* OptS = nullptr;
    QPushButton* Cancel = nullptr;
    QPushButton* OK = nullptr;
    QLineEdit* Port = nullptr;
    QLineEdit* Host = nullptr;
    QLineEdit* Handle = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label1 = nullptr;

    // True when the text is a whole number from 1 to 65535, spaces around
    // it allowed.
    static bool IsValidPort(const QString& text);

signals:
    // The settings are stored and the dialog has closed.
    void Accepted();
    // The user chose to end the program.
    void Cancelled();

private:
    void BuildControls();
    void OptS_Click();
    void OptC_Click();
    void OptCpu_Click();
    void ShowRole(const QString& host, bool server, bool computer);
    void OK_Click();
    void Cancel_Click();
    bool CheckInput();

    Session& session_;
    Prompter& prompter_;
};

}  // namespace torvane
