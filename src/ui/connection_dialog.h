#pragma once
// The dialog that asks how this copy meets its rival: as the server, as a
// client of a server at a host, or against the computer on this machine;
// with the nickname and the port. It opens with what the player chose last
// time, and the host box lists the games found on the local network, then
// the hosts joined lately.

#include <QWidget>
#include <memory>

#include "match/connection_settings.h"
#include "ui/remembered_player.h"

namespace Ui {
class ConnectionDialog;
}

namespace torvane {

class GameBrowser;
class Prompter;

class ConnectionDialog : public QWidget {
    Q_OBJECT
public:
    // Opens centred over `gameWindow` with what `remembered` holds, its
    // role chosen (the server's when it holds none).
    ConnectionDialog(Prompter& prompter, const RememberedPlayer& remembered, QWidget* gameWindow);
    ~ConnectionDialog() override;

    const Ui::ConnectionDialog& form() const { return *ui_; }

signals:
    // The input was complete; the dialog has closed.
    void accepted(const torvane::ConnectionSettings& settings);
    // The player chose to end the program.
    void cancelled();

private:
    void connectControls();
    void centreOver(const QWidget* gameWindow);
    ConnectionSettings::Role chosenRole() const;
    void showRole(ConnectionSettings::Role role);
    void showHosts();
    void onHostPicked(int index);
    void onOkClicked();
    QString inputProblem() const;

    std::unique_ptr<Ui::ConnectionDialog> ui_;
    Prompter& prompter_;
    const RememberedPlayer remembered_;
    GameBrowser* browser_;
};

}  // namespace torvane
