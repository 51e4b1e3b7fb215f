#pragma once
// The dialog that asks, once per run, how this copy meets its rival: as the
// server, as a client of a server at a host, or against the computer on
// this machine; with the nickname and the port.

#include <QWidget>
#include <memory>

#include "match/connection_settings.h"

namespace Ui {
class ConnectionDialog;
}

namespace torvane {

class Prompter;

class ConnectionDialog : public QWidget {
    Q_OBJECT
public:
    // Opens centred over `gameWindow`, with `role` chosen.
    ConnectionDialog(Prompter& prompter, ConnectionSettings::Role role, QWidget* gameWindow);
    ~ConnectionDialog() override;

    const Ui::ConnectionDialog& form() const { return *ui_; }

signals:
    // The input was complete; the dialog has closed.
    void accepted(const torvane::ConnectionSettings& settings);
    // The player chose to end the program.
    void cancelled();

private:
    void centreOver(const QWidget* gameWindow);
    ConnectionSettings::Role chosenRole() const;
    void showRole(ConnectionSettings::Role role);
    void onOkClicked();
    QString inputProblem() const;

    std::unique_ptr<Ui::ConnectionDialog> ui_;
    Prompter& prompter_;
};

}  // namespace torvane
