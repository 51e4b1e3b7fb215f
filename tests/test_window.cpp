// One game window: how it is laid out, the local player's drops, and what it
// does with exact bytes from a bare peer, hostile ones included.

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextDocumentFragment>
#include <QTextLayout>
#include <QtTest>

#include "support/window_test.h"
#include "ui/bitmaps.h"
#include "ui/board_geometry.h"
#include "ui/board_marks.h"
#include "ui/picture_box.h"
#include "ui/texts.h"

using namespace torvane;
using namespace torvane::testing;
using namespace torvane::testing::line;

namespace {

// The list keeps this many lines, each cut to this many characters and "…".
constexpr int kListCap = 5000;
constexpr int kLineCap = 2000;
constexpr qsizetype kHuge = 2 * 1024 * 1024;
// Start steps long enough that a move sent during the start lands inside it.
constexpr int kSlowStepMs = 50;
const QString kCutChat = "a>>" + QString(kLineCap - 3, u'x') + "…";
// A gap that lasts until the window has handled everything before it.
constexpr int kSettled = -1;
// The new lines are the expected last lines.
constexpr int kTail = -2;

// `times` writes of `bytes`, each after waiting `gapMs`; with `oneWrite`
// the copies go out joined, in one write. Empty bytes: the local player
// starts a game instead, or with `closes` the peer closes the connection.
struct Burst {
    QByteArray bytes;
    int times = 1;
    int gapMs = 0;
    bool oneWrite = false;
    bool closes = false;
};
using Bursts = QList<Burst>;

// Someone else on the server's port: a connection closed at once before the
// peer's, one that sends half a greeting and stays, or a second client after
// the peer.
enum class Intruder { None, ClosesBefore, Squats, Second };
// How long the window waits for a greeting when a squatter comes.
constexpr int kShortGreetingMs = 300;

const QString kRefused = QStringLiteral("information|ルール違反|そこには置けません");

// The rival's name, the tallies, whose turn it is, the points of the
// rival's stones and the empty points, as "相手|3-4|none|210|345".
QString stateOf(const Player& w) {
    QString yours, empty;
    for (int i = 0; i < kStoneCount; ++i) yours += QString::number(pointOf(w.rival(i)));
    for (PointIndex p = 0; p < kPointCount; ++p) {
        if (w.game().board().pointEmpty()[p]) empty += QString::number(p);
    }
    const bool me = isGreen(w.form().ownName), rival = isGreen(w.form().rivalName), on = ownStonesEnabled(w),
               off = ownStonesDisabled(w);
    const char* turn = me && !rival && on     ? "mine"
                       : rival && !me && off  ? "rival"
                       : !me && !rival && off ? "none"
                                              : "mixed";
    return QStringList{w.form().rivalName->text(), w.form().winCount->text() + "-" + w.form().lossCount->text(), turn,
                       yours, empty}
        .join('|');
}

// The widgets that take focus, in the order Tab visits them; one that hands
// its focus on (a box's own line edit) counts as the one it hands it to.
QList<QWidget*> focusChain(QWidget* window) {
    QList<QWidget*> chain;
    for (QWidget* w = window->nextInFocusChain(); w != window && !chain.contains(w); w = w->nextInFocusChain()) {
        const bool forwards = w->focusProxy() != nullptr;
        if (w->focusPolicy() & Qt::TabFocus && w->window() == window && w->isVisibleTo(window) && !forwards) chain << w;
    }
    return chain;
}

// Records each time the widget is shown or hidden.
struct VisibilityLog : QObject {
    QList<bool> shown;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show || event->type() == QEvent::Hide) shown << (event->type() == QEvent::Show);
        return false;
    }
};

}  // namespace

Q_DECLARE_METATYPE(QWidget*)
Q_DECLARE_METATYPE(NameLabel*)
Q_DECLARE_METATYPE(Bursts)
Q_DECLARE_METATYPE(Intruder)

class WindowTest : public QObject {
    Q_OBJECT
private:
    Player idle;  // the window as it opens, its dialog still up
    Player* main = &idle;
    ConnectionDialog* dialog = nullptr;
    std::unique_ptr<Player> player;
    std::unique_ptr<RawPeer> peer;
    QTcpSocket other;  // an intruder on the server's port

    Player& w() { return *player; }

    // A window serving as "sv" with the bare peer connected, its tallies 3 and 4.
    void open(int stepMs = kStartStepMs, Intruder intruder = Intruder::None) {
        player = std::make_unique<Player>(stepMs, intruder == Intruder::Squats ? kShortGreetingMs : kPatientGreetingMs);
        peer = std::make_unique<RawPeer>();
        player->serve("sv");
        if (intruder == Intruder::ClosesBefore || intruder == Intruder::Squats) {
            other.connectToHost(QHostAddress::LocalHost, player->port());
            QVERIFY(other.waitForConnected());
            if (intruder == Intruder::Squats) {
                other.write("|Cnn");
            } else {
                other.abort();
            }
            QTRY_COMPARE(player->lines().count(kListening), 2);
            other.abort();
        }
        QVERIFY(peer->connectTo(*player));
        if (intruder == Intruder::Second) {
            other.connectToHost(QHostAddress::LocalHost, player->port());
            QTRY_COMPARE(other.state(), QAbstractSocket::UnconnectedState);
        }
        peer->socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
        w().form().winCount->setText("3");
        w().form().lossCount->setText("4");
    }

    // Writes the bursts and waits until the window has handled them all.
    void send(const Bursts& bursts) {
        for (const Burst& burst : bursts) {
            for (int i = 0; i < (burst.oneWrite ? 1 : burst.times); ++i) {
                if (burst.gapMs == kSettled) QVERIFY(peer->settle(*player));
                QTest::qWait(qMax(burst.gapMs, 0));
                if (burst.closes) {
                    peer->close();
                } else if (burst.bytes.isEmpty()) {
                    QTest::mouseClick(w().form().startButton, Qt::LeftButton);
                } else {
                    peer->write(burst.oneWrite ? burst.bytes.repeated(burst.times) : burst.bytes);
                }
            }
        }
        QVERIFY(peer->settle(*player));
    }

    static void dropRow(const char* name, int stone, int target, QPoint offset, const char* sent = "") {
        QTest::newRow(name) << stone << target << offset << QByteArray(sent);
    }

    static void peerRow(const char* name, const Bursts& bursts, const QStringList& tail, const QString& state,
                        const QByteArray& reply = {}, int added = kTail, Intruder intruder = Intruder::None) {
        QTest::newRow(name) << bursts << tail << state << reply << (added == kTail ? int(tail.size()) : added)
                            << intruder;
    }

    // A started game in which this window moves first.
    void startGame() {
        QTest::mouseClick(w().form().startButton, Qt::LeftButton);
        QTRY_COMPARE(player->lastLine(), kFirst);
        QVERIFY(peer->waitFor(7));
        QCOMPARE(peer->take(), QByteArray("|StrtG "));
    }

private slots:
    void initTestCase() {
        idle.load();
        dialog = idle.window->dialog();
        QVERIFY(dialog);
    }

    void cleanup() {
        peer.reset();
        player.reset();
    }

    void frames() {
        for (QWidget* w : {static_cast<QWidget*>(main->window.get()), static_cast<QWidget*>(dialog)}) {
            QVERIFY(w->isWindow() && w->minimumSize() == w->maximumSize() && !w->windowIcon().isNull());
            QVERIFY(!(w->windowFlags() & (Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint)));
            // Every control shows whole inside its window.
            for (QWidget* child : w->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                if (child->isWindow()) continue;
                QVERIFY2(w->rect().contains(child->geometry()), child->metaObject()->className());
            }
        }
        QCOMPARE(main->window->windowTitle(), QStringLiteral("Torvane　Product by Torvane Developers"));
        QCOMPARE(dialog->windowTitle(), QStringLiteral("サーバかクライアントを選択しよう"));
        const Ui::GameWindow& form = main->form();
        QCOMPARE(focusChain(main->window.get()),
                 QList<QWidget*>({form.messageList, form.board, form.winCount, form.lossCount, form.resetButton,
                                  form.chatLine, form.startButton}));
        const Ui::ConnectionDialog& boxes = dialog->form();
        QCOMPARE(focusChain(dialog),
                 QList<QWidget*>({boxes.nameEdit, boxes.hostBox, boxes.portEdit, boxes.okButton, boxes.cancelButton,
                                  boxes.serverOption, boxes.clientOption, boxes.computerOption}));
        // Later children cover earlier ones: the banner over the stones over the board.
        const QObjectList& children = main->window->children();
        QVERIFY(children.indexOf(main->board().bannerBox()) > children.indexOf(main->rival(2)));
        QVERIFY(children.indexOf(main->own(0)) > children.indexOf(&main->board()));
        // One picture pixel to a screen pixel, at the same layout size.
        for (const PictureBox* box :
             std::initializer_list<const PictureBox*>{&main->board(), main->own(0), main->rival(0)}) {
            QCOMPARE(box->picture().deviceIndependentSize(), QSizeF(box->size()));
            QCOMPARE(box->picture().devicePixelRatio(), main->window->devicePixelRatioF());
        }
    }

    // The substitutes stand in for the design faces, which Linux lacks, and
    // a line comes out of one face from its first star to its last.
    void faces_data() {
        QTest::addColumn<QWidget*>("widget");
        QTest::addColumn<QStringList>("faces");
        QTest::addColumn<QString>("line");
        const QStringList gothic = {"IPAPGothic", "Noto Sans CJK JP"};
        QTest::newRow("own name") << static_cast<QWidget*>(main->form().ownName)
                                  << QStringList{"RocknRoll One", "Noto Sans CJK JP"} << "自分";
        QTest::newRow("port") << static_cast<QWidget*>(dialog->form().portEdit) << gothic << "9898";
        QTest::newRow("message list") << static_cast<QWidget*>(main->form().messageList) << gothic << text::kListening;
    }

    void faces() {
        QFETCH(QWidget*, widget);
        QFETCH(QStringList, faces);
        QFETCH(QString, line);
        const QString face = QFontInfo(widget->font()).family();
        QVERIFY2(faces.contains(face), qPrintable(face));
        QTextLayout layout(line, widget->font());
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        for (const QGlyphRun& run : layout.glyphRuns()) QCOMPARE(run.rawFont().familyName().toLower(), face.toLower());
    }

    // Stones and banners carry the patch of board under their box, so where
    // the window shows them their corners show the board pixels beneath.
    void picturesSitOnTheBoard_data() {
        QTest::addColumn<QString>("picture");
        QTest::addColumn<int>("scale");
        QTest::addColumn<QRect>("box");  // in the window
        for (int scale : {1, bitmap::kSharpScale}) {
            const auto file = [scale](const QString& name) { return bitmap::atScale(name, scale); };
            for (PointIndex p = 0; p < kPointCount; ++p) {
                for (const QString& stone : {file(bitmap::kGreen), file(bitmap::kBlue)})
                    QTest::addRow("%s on %d", qPrintable(stone), p) << stone << scale << geometry::stoneRect(p);
            }
            for (const QString& banner :
                 {file(bitmap::kStart), file(bitmap::kWin), file(bitmap::kLose), file(bitmap::kDraw)})
                QTest::newRow(qPrintable(banner)) << banner << scale << geometry::kBannerRect;
        }
    }

    void picturesSitOnTheBoard() {
        QFETCH(QString, picture);
        QFETCH(int, scale);
        QFETCH(QRect, box);
        const QImage image = bitmapImage(picture);
        const QImage board = bitmapImage(bitmap::atScale(bitmap::kBoard, scale));
        QCOMPARE(image.size(), box.size() * scale);
        const QPoint under =
            (box.topLeft() - main->board().geometry().topLeft() - main->board().contentsRect().topLeft()) * scale;
        const QPoint last(image.width() - 1, image.height() - 1);
        for (const QPoint corner : {QPoint(0, 0), QPoint(last.x(), 0), QPoint(0, last.y()), last})
            QCOMPARE(QColor(image.pixel(corner)), QColor(board.pixel(under + corner)));
    }

    // The rival's last move and the stones that won are marked on the
    // screen, over the stones, on green and blue alike: a ring round the
    // stone the rival moved and a small one where it left, then a ring
    // round each stone of the rival's winning row.
    void marksOnTheBoard() {
        open();
        const auto ringAt = [this](PointIndex p, double radius) {
            const QImage shown = w().window->grab().toImage();
            const qreal scale = shown.devicePixelRatio();
            const QPointF centre = QRectF(geometry::stoneRect(p)).center() + QPointF(radius, 0);
            return QColor(shown.pixel((centre * scale).toPoint()));
        };
        const auto near = [](const QColor& a, const QColor& b) {
            return qAbs(a.red() - b.red()) + qAbs(a.green() - b.green()) + qAbs(a.blue() - b.blue()) < 60;
        };
        peer->write("|SetSt 036");
        QTRY_VERIFY(near(ringAt(5, 21.5), BoardMarks::moveColor()));
        QVERIFY(near(ringAt(2, 8), BoardMarks::moveColor()));
        QVERIFY(!near(ringAt(4, 21.5), BoardMarks::moveColor()));
        peer->write("|SetSt 147|SetSt 258|Finis ");
        QTRY_COMPARE(player->lastLine(), kLose);
        // The banner steps aside from the row it covers.
        QVERIFY(w().board().bannerBox()->isVisible());
        QTRY_VERIFY(!w().board().bannerBox()->isVisible());
        for (PointIndex p : {3, 4, 5})
            QVERIFY2(near(ringAt(p, 21.5), BoardMarks::winColor()), qPrintable(QString::number(p)));
        QVERIFY(!near(ringAt(2, 8), BoardMarks::moveColor()));
    }

    void namesFitTheirBoxes_data() {
        QTest::addColumn<NameLabel*>("label");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("whole");
        QTest::newRow("tall Latin letters") << main->form().ownName << "Hanako" << true;
        QTest::newRow("too long") << main->form().ownName << "ながいながいニックネーム" << false;
    }

    // Drawn whole in the largest size that fits, or cut with "…" at the
    // smallest; the full name stays the text, tooltip and accessible name.
    void namesFitTheirBoxes() {
        QFETCH(NameLabel*, label);
        QFETCH(QString, name);
        QFETCH(bool, whole);
        label->setText(name);
        QCOMPARE(QStringList({label->text(), QTextDocumentFragment::fromHtml(label->toolTip()).toPlainText(),
                              label->accessibleName()}),
                 QStringList({name, name, name}));
        const FittedName fitted = label->fitted();
        const QRectF ink = QFontMetricsF(fitted.font, label).tightBoundingRect(fitted.text).translated(fitted.origin);
        QVERIFY(QRectF(label->contentsRect()).contains(ink));
        QCOMPARE(fitted.text == name, whole);
        if (!whole) QVERIFY(fitted.text.endsWith("…") && name.startsWith(fitted.text.chopped(1)));
    }

    void drops_data() {
        QTest::addColumn<int>("stone");
        QTest::addColumn<int>("target");
        QTest::addColumn<QPoint>("offset");
        QTest::addColumn<QByteArray>("sent");  // empty: refused; "-": put back without a word
        dropRow("straight up", 1, 4, {}, "|SetSt 147");
        dropRow("19 right and 19 down snaps", 1, 4, {19, 19}, "|SetSt 147");
        dropRow("20 down", 1, 4, {0, 20});
        dropRow("onto an own stone", 1, 8, {});
        dropRow("back onto its own point", 2, 8, {5, 5}, "-");
        dropRow("off the board", 2, 8, {150, 60});
    }

    // A refused stone waits where it was dropped while the box is open, then
    // goes home; an accepted one is sent and passes the turn.
    void drops() {
        QFETCH(int, stone);
        QFETCH(int, target);
        QFETCH(QPoint, offset);
        QFETCH(QByteArray, sent);
        open();
        startGame();
        const QString before = stateOf(w());
        const int from = pointOf(w().own(stone));
        QPoint whileOpen;
        player->prompter.whileOpen = [&] { whileOpen = w().own(stone)->pos(); };
        dragStone(*player, stone, static_cast<PointIndex>(target), offset);
        QCOMPARE(player->prompter.shown, sent.isEmpty() ? QStringList{kRefused} : QStringList());
        if (sent.isEmpty() || sent == "-") {
            const geometry::PixelPos point = geometry::pointPos(static_cast<PointIndex>(target));
            if (sent.isEmpty()) QCOMPARE(whileOpen, QPoint(point.x, point.y) + offset);
            QCOMPARE(pointOf(w().own(stone)), from);
            QCOMPARE(stateOf(w()), before);
            QVERIFY(!peer->waitFor(1, 50));
            return;
        }
        QCOMPARE(pointOf(w().own(stone)), target);
        QVERIFY(w().game().board().pointEmpty()[from] && !w().game().board().pointEmpty()[target]);
        QCOMPARE(stateOf(w()).section('|', 2, 2), QStringLiteral("rival"));
        QVERIFY(peer->waitFor(sent.size()));
        QCOMPARE(peer->take(), sent);
    }

    // The rival's win ends the game while a stone is held: the stone goes
    // back to its point and nothing is sent.
    void gameEndDuringADrag() {
        open();
        startGame();
        PictureBox* stone = w().own(1);
        QTest::mousePress(stone, Qt::LeftButton, {}, QPoint(10, 10));
        QTest::mouseMove(stone, QPoint(40, -50));
        QVERIFY(pointOf(stone) < 0);
        peer->write("|Finis ");
        QTRY_COMPARE(player->lastLine(), kLose);
        QCOMPARE(pointOf(stone), 7);
        QTest::mouseRelease(stone, Qt::LeftButton, {}, QPoint(40, -50));
        QCOMPARE(pointOf(stone), 7);
        QVERIFY(player->prompter.shown.isEmpty() && !peer->waitFor(1, 50));
    }

    // Shown, hidden, ... six steps, and the window handles events meanwhile.
    void startBannerBlinks() {
        open(kSlowStepMs);
        VisibilityLog log;
        w().board().bannerBox()->installEventFilter(&log);
        int ticks = 0;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
        ticker.start(kSlowStepMs / 5);
        QElapsedTimer clock;
        clock.start();
        QTest::mouseClick(w().form().startButton, Qt::LeftButton);
        QTRY_VERIFY(!w().game().state().startRunning);
        QVERIFY(clock.elapsed() >= conversation::kStartSteps * kSlowStepMs - 5);
        QCOMPARE(log.shown, QList<bool>({true, false, true, false, true, false}));
        QVERIFY(ticks >= conversation::kStartSteps * 2);
        QVERIFY(ownStonesEnabled(w()));
    }

    void fromPeer_data() {
        QTest::addColumn<Bursts>("bursts");
        QTest::addColumn<QStringList>("tail");  // the list's last lines
        QTest::addColumn<QString>("state");
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<int>("added");  // lines the bursts add, before the list drops any; -1: any
        QTest::addColumn<Intruder>("intruder");
        const QString idle = "相手|3-4|none|210|345";
        const QString greeted = "z|3-4|none|210|345";
        const QString moved = "相手|3-4|mine|510|234";
        const QByteArray named("|SName sv");
        const Burst greeting{"|Cnnct z", 1, kSettled};
        const Burst closes{{}, 1, kSettled, false, true};
        const QByteArray huge(kHuge, 'x');
        const QByteArray startFlood = QByteArray("|StrtG ").repeated(64 * 1024 / 7);
        peerRow("markup in a name is text", {{"|Cnnct <img src=/dev/zero>"}}, {},
                "<img src=/dev/zero>|3-4|none|210|345", named);
        // What the peer left unfinished is taken as it stands when it leaves.
        peerRow("move without argument", {{"|SetSt "}, closes}, {"エラーコード２：位置情報が不明です", kListening},
                idle);
        // TCP may deliver a message in two parts, the second much later.
        peerRow("a move's rest a second later", {{"|SetSt 0"}, {"36", 1, 1000}}, {}, moved);
        peerRow("a chat line's rest a second later", {{"|Speak b>>hel"}, {"lo|SetSt 036", 1, 1000}}, {"b>>hello"},
                moved);
        peerRow("after a whole move a line of its own", {{"|SetSt 036"}, {"36", 1, 1000}}, {"36"}, moved);
        peerRow("starts one per read, then a greeting", {{"|StrtG ", 300, 3}, {"|Cnnct z", 1, 3}}, {kSecond},
                "z|3-4|rival|210|345", named);
        peerRow("starts in one read, a win, then the local player starts",
                {{"|StrtG ", 1000, 0, true}, {"|Finis ", 1, kSettled}, {{}, 1, kSettled}}, {kSecond, kLose, kFirst},
                "相手|3-5|mine|210|345", "|StrtG ");
        peerRow("64 KiB of starts, then a move", {{startFlood}, {"|SetSt 036", 1, 0}}, {kSecond}, moved);
        peerRow("64 KiB of game ends", {{"|Finis ", 64 * 1024 / 7, 0, true}}, {kLose}, "相手|3-9366|none|210|345", {},
                -1);
        peerRow("a continuation extends the waiting line",
                {{"|Speak r>>old"}, {"|StrtG |Speak r>>hel", 1, kSettled}, {"lo", 1, kSlowStepMs}},
                {"r>>old", kSecond, "r>>hello"}, "相手|3-4|rival|210|345");
        peerRow("chat flood in one write, then a greeting",
                {{"|Speak a>>hi", 40000, 0, true}, {"|Speak a>>end"}, greeting}, {"a>>hi", "a>>end"}, greeted, named,
                40001);
        peerRow("huge name answered once", {{"|Cnnct " + huge}}, {}, QString(64, u'x') + "…|3-4|none|210|345", named);
        peerRow("huge text without a bar, then a greeting", {{huge}, greeting}, {}, greeted, named, -1);
        peerRow("greeting right behind a long chat line", {{"|Speak a>>" + QByteArray(100000, 'x') + "|Cnnct z"}},
                {kCutChat}, greeted, named);
        peerRow("a connection closed before the real client", {greeting}, {kListening, kAccepted}, greeted, named, 0,
                Intruder::ClosesBefore);
        peerRow("a squatter is let go for the real client", {greeting}, {kListening, kAccepted}, greeted, named, 0,
                Intruder::Squats);
        peerRow("a second client is turned away", {greeting}, {kAccepted}, greeted, named, 0, Intruder::Second);
    }

    // Exact bytes from a bare peer, hostile ones too: floods, oversized
    // messages, bad timing. The window stays bounded and keeps answering.
    void fromPeer() {
        QFETCH(Bursts, bursts);
        QFETCH(QStringList, tail);
        QFETCH(QString, state);
        QFETCH(QByteArray, reply);
        QFETCH(int, added);
        QFETCH(Intruder, intruder);
        open(kSlowStepMs, intruder);
        const int before = w().form().messageList->count();
        send(bursts);
        // Lines from reads a second apart may come later still on a loaded machine.
        QTRY_COMPARE(player->lines().mid(player->lines().size() - tail.size()), tail);
        QTRY_COMPARE(stateOf(w()), state);
        // Whatever the rival calls itself, the tooltip shows it as text.
        QCOMPARE(QTextDocumentFragment::fromHtml(w().form().rivalName->toolTip()).toPlainText(),
                 w().form().rivalName->text());
        const QStringList lines = player->lines();
        if (added >= 0) QCOMPARE(lines.size(), qMin(before + added, kListCap));
        // What the rival sends is selected; listening again is not.
        if (added > 0 && tail.last() != kListening) QVERIFY(player->lastLineSelected());
        for (const QString& shown : lines) QVERIFY(shown.size() <= kLineCap + 1);
        if (!reply.isEmpty()) QVERIFY(peer->waitFor(reply.size()));
        QCOMPARE(peer->take(), reply);
    }
};

QTEST_MAIN(WindowTest)
#include "test_window.moc"
