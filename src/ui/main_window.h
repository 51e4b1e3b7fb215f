#pragma once
// The game window: board, stones, names, tally, match buttons, message list
// and chat line, and the handlers for everything the user and the rival do.

#include <QListWidget>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <array>

#include "net/message_reader.h"
#include "net/protocol.h"
#include "net/winsock.h"
#include "ui/connect_form.h"
#include "ui/session.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace torvane {

class Pause;
class PictureBox;
class Prompter;

class Main : public QWidget {
    Q_OBJECT
public:
    Main(Session& session, Prompter& prompter, Pause& pause, QWidget* parent = nullptr);
    ~Main() override;

    // Start-up: pictures, start position, then the window and the dialog.
    void Form_Load();
    // The hand-over from the accepted dialog: starts listening or connecting.
    void Form_Activate();

    // The controls, for the handlers and for tests that read the real widgets.
    PictureBox* StartP = nullptr;
    std::array<PictureBox*, kStoneCount> Mystone{};
    std::array<PictureBox*, kStoneCount> Yourstone{};
    PictureBox* Board = nullptr;
    QPushButton* StartGame = nullptr;
    torvane::Winsock* Winsock = nullptr;
    QLineEdit* TSend = nullptr;
    QPushButton* Reset = nullptr;
    QLineEdit* LoseNum = nullptr;
    QLineEdit* WinNum = nullptr;
    QListWidget* RecieveList = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Rival = nullptr;
    QLabel* OneSelf = nullptr;

    ConnectForm* Dialog() const { return dialog_; }
    bool StartSequenceRunning() const { return startRunning_ != StartKind::None; }

    // The turn marking colours.
    static QColor TurnColor();
    QColor ButtonFace() const;

    // Where the start, win and lose banners stand.
    static constexpr QPoint kBannerPos{55, 115};

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    enum class StartKind { None, Own, Received };

    // Layout.
    void BuildControls();
    void BuildRightColumn();
    void BuildStones();
    void SetTabOrder();
    void CentreOnScreen();
    void SizeBoard();
    void PlaceStonesAtStart();

    // Stones and turn.
    void SetOwnStonesEnabled(bool enabled);
    void SetAllStonesEnabled(bool enabled);
    void MarkTurn(QLabel* toMove, QLabel* other);
    void UnmarkTurn();
    std::array<PixelPos, kStoneCount> MystonePositions() const;

    // Messages to the list and to the rival.
    void AddLine(const QString& line, bool select);
    void SendToRival(const QStringList& messages);
    void ShowBanner(const QString& bitmapName);
    static void CountUp(QLineEdit* box);
    void AskForAttention();

    // The user's handlers.
    void StartGame_Click();
    void Reset_Click();
    void TSend_KeyPress(int keyAscii);
    void Mystone_MouseDown(int index, Qt::MouseButton button, Qt::KeyboardModifiers shift, QPointF pos);
    void Mystone_MouseMove(int index, Qt::MouseButtons button, Qt::KeyboardModifiers shift, QPointF pos);
    void Mystone_MouseUp(int index, Qt::MouseButton button, Qt::KeyboardModifiers shift, QPointF pos);
    void DropStone(int index);
    void AcceptDrop(int index, PointIndex target);

    // The start of a game, own or received.
    void ResetBoardForStart();
    bool BlinkStartPicture(int generation);

    // The connection.
    void StartListening();
    void StartConnecting();
    void AddAddressLine();
    void Winsock_ConnectionRequest(qint32 requestId);
    void Winsock_Connect();
    void Winsock_Close();
    void Winsock_Error(int number, const QString& description);
    void Form_Unload();

    // What the rival sends.
    void Winsock_DataArrival(qint64 bytesTotal);
    void HandleTail();
    void Dispatch(const std::vector<Message>& messages);
    void Handle(const Message& message);
    void OnCnnct(const QString& name);
    void OnSName(const QString& name);
    void OnSpeak(const Message& message);
    void OnReset();
    void OnStrtG();
    void OnSetSt(const Message& message);
    void OnFinis();

    Session& session_;
    Prompter& prompter_;
    Pause& pause_;
    QPointer<ConnectForm> dialog_;

    bool Dragging = false;
    float GrabX = 0;
    float GrabY = 0;
    std::int16_t MoveTo = 0;
    std::int16_t MoveFrom = 0;

    bool networkStarted_ = false;
    StartKind startRunning_ = StartKind::None;
    int startGeneration_ = 0;
    MessageReader reader_;
    QTimer tailTimer_;
};

}  // namespace torvane
