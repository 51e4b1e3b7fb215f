#pragma once
// The game window: the handlers for everything the user and the rival do.
// The controls come from MainForm, the game's state from BoardModel, the
// rival's messages from MessageConnection and the start's timing from
// StartSequence.

#include <QPointF>
#include <QString>
#include <QWidget>
#include <deque>
#include <vector>

#include "net/message_connection.h"
#include "rules/board_model.h"
#include "ui/bitmaps.h"
#include "ui/connect_form.h"
#include "ui/main_form.h"
#include "ui/session.h"
#include "ui/start_sequence.h"

namespace torvane {

class LocalComputer;
class PortMapper;
struct MappingResult;
class Prompter;

class Main : public QWidget, public MainForm {
    Q_OBJECT
public:
    // The timing is shortened in tests only.
    Main(Session& session, Prompter& prompter, int startStepMs = StartSequence::kStepMs,
         int greetingTimeoutMs = MessageConnection::kGreetingTimeoutMs, QWidget* parent = nullptr);
    ~Main() override;

    // Start-up: pictures, start position, then the window and the dialog.
    void Form_Load();
    // The hand-over from the accepted dialog: starts listening or connecting.
    void Form_Activate();

    const MessageConnection& Connection() const { return *connection_; }

    ConnectForm* Dialog() const { return dialog_; }
    const BoardModel& Model() const { return board_; }
    bool StartSequenceRunning() const { return start_->Running(); }
    QColor ButtonFace() const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // The board and the turn as the controls show them.
    void ShowStones();
    void ShowTurn();
    void CentreOnScreen();

    // Messages to the list and to the rival.
    void AddLine(const QString& line, bool select);
    void SendToRival(const QStringList& messages);
    void ShowBanner(const QString& bitmapName);
    const QPixmap& Picture(const QString& bitmapName) { return pictures_.Get(bitmapName, devicePixelRatioF()); }
    void AskForAttention();

    // The user's handlers.
    void StartGame_Click();
    void Reset_Click();
    void TSend_KeyPress();
    void Mystone_MouseDown(int index, Qt::MouseButton button, Qt::KeyboardModifiers shift, QPointF pos);
    void Mystone_MouseMove(int index, Qt::MouseButtons button, Qt::KeyboardModifiers shift, QPointF pos);
    void Mystone_MouseUp(int index, Qt::MouseButton button, Qt::KeyboardModifiers shift, QPointF pos);
    void DropStone(int index);
    void AcceptDrop(PointIndex target);

    // The start of a game, own or received.
    void BeginStart(StartSequence::Kind kind);
    void FinishStart(StartSequence::Kind kind);

    // The connection.
    void StartListening();
    void StartConnecting();
    void StartComputer();
    void ShowOwnName();
    void AddAddressLine();
    void OpenRouterPort();
    void ShowRouterPort(const MappingResult& result);
    void EndConnection();
    void OnClientAccepted();
    void OnConnected();
    void OnClosed();
    void OnFailed(const SocketFailure& failure);
    void Form_Unload();

    // What the rival sends.
    void Winsock_DataArrival(const std::vector<Message>& messages);
    static bool WaitsForStart(Command command);
    void RunHeld();
    void Handle(const Message& message);
    void OnPlain(const Message& message);
    void OnCnnct(const Message& message);
    void OnSName(const Message& message);
    void OnSpeak(const Message& message);
    void OnReset();
    void OnStrtG();
    void OnSetSt(const Message& message);
    void OnFinis();

    MessageConnection* const connection_;
    Session& session_;
    Prompter& prompter_;
    StartSequence* start_;
    bitmap::Pictures pictures_;
    BoardModel board_;
    QPointer<ConnectForm> dialog_;

    bool Dragging = false;
    float GrabX = 0;
    float GrabY = 0;

    bool networkStarted_ = false;
    // The computer this window plays against, while it does.
    LocalComputer* computer_ = nullptr;
    // Forwards the listening port on the router, in the server role.
    PortMapper* portMapper_ = nullptr;
    // Received during a start and carried out when it ends.
    std::deque<Message> held_;
};

}  // namespace torvane
