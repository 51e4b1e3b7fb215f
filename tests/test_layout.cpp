// Both windows as the user first sees them, read from the real widgets.

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextLayout>
#include <QtTest>

#include "support/player.h"
#include "support/probes.h"
#include "ui/bitmaps.h"
#include "ui/board_geometry.h"
#include "ui/fonts.h"
#include "ui/picture_box.h"
#include "ui/texts.h"

using namespace torvane;
using namespace torvane::testing;

Q_DECLARE_METATYPE(QWidget*)
Q_DECLARE_METATYPE(NameLabel*)

namespace {

// The widgets that take focus, in the order Tab visits them.
QList<QWidget*> FocusChain(QWidget* window) {
    QList<QWidget*> chain;
    QWidget* start = window->nextInFocusChain();
    for (QWidget* w = start; w && w != window; w = w->nextInFocusChain()) {
        if (w->focusPolicy() & Qt::TabFocus && w->window() == window) chain << w;
        if (w->nextInFocusChain() == start) break;
    }
    return chain;
}

QString Caption(QWidget* w) {
    if (auto* label = qobject_cast<QLabel*>(w)) return label->text();
    if (auto* edit = qobject_cast<QLineEdit*>(w)) return edit->text();
    if (auto* button = qobject_cast<QAbstractButton*>(w)) return button->text();
    return QString();
}

}  // namespace

class LayoutTest : public QObject {
    Q_OBJECT
private:
    Player player;
    Main* main = nullptr;
    ConnectForm* dialog = nullptr;

    void AddRow(const char* name, QWidget* w, QRect rect, QString caption, QString family, double size,
                QColor color = QColor()) {
        QTest::newRow(name) << w << rect << caption << family << size << color;
    }

private slots:
    void initTestCase() {
        player.Load();
        main = player.window.get();
        dialog = main->Dialog();
        QVERIFY(dialog);
    }

    void windowFrames() {
        QCOMPARE(main->size(), QSize(416, 424));
        QCOMPARE(main->minimumSize(), main->maximumSize());
        QVERIFY(!(main->windowFlags() & (Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint)));
        QCOMPARE(main->windowTitle(), QStringLiteral("Torvane　Product by Torvane Developers"));
        QCOMPARE(dialog->size(), QSize(347, 132));
        QCOMPARE(dialog->minimumSize(), dialog->maximumSize());
        QCOMPARE(dialog->windowTitle(), QStringLiteral("サーバかクライアントを選択しよう"));
        QVERIFY(!(dialog->windowFlags() & (Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint)));
        QVERIFY(dialog->isWindow());
        QVERIFY(main->windowIcon().availableSizes().contains(QSize(16, 16)));
        QVERIFY(!dialog->windowIcon().isNull());
    }

    void controls_data() {
        QTest::addColumn<QWidget*>("widget");
        QTest::addColumn<QRect>("rect");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("family");  // empty: the default font
        QTest::addColumn<double>("size");
        QTest::addColumn<QColor>("color");  // invalid: the default colour
        const QString pop = fonts::kPopFace;
        const QString gothic = fonts::kGothicFace;
        AddRow("StartGame", main->StartGame, {312, 240, 89, 25}, "ゲーム開始", {}, 0);
        AddRow("TSend", main->TSend, {8, 392, 401, 25}, "", {}, 0);
        AddRow("Reset", main->Reset, {312, 272, 89, 25}, "勝敗リセット", {}, 0);
        AddRow("LoseNum", main->LoseNum, {336, 200, 33, 25}, "0", pop, 14.25);
        AddRow("WinNum", main->WinNum, {312, 152, 33, 25}, "0", pop, 14.25);
        AddRow("RecieveList", main->RecieveList, {8, 312, 401, 76}, "", {}, 0);
        AddRow("Label5", main->Label5, {336, 48, 49, 25}, "ＶＳ", pop, 18, QColor(255, 255, 0));
        AddRow("Label4", main->Label4, {376, 200, 25, 25}, "敗", pop, 18, QColor(0, 0, 255));
        AddRow("Label3", main->Label3, {352, 152, 25, 25}, "勝", pop, 18, QColor(255, 0, 0));
        AddRow("Rival", main->Rival, {312, 88, 97, 33}, "相手", pop, 18, QColor(128, 128, 255));
        AddRow("OneSelf", main->OneSelf, {312, 8, 97, 25}, "自分", pop, 18, QColor(128, 128, 255));
        AddRow("Board", main->Board, {8, 8, 300, 300}, "", {}, 0);
        AddRow("OptC", dialog->OptC, {240, 40, 105, 17}, "クライアント", pop, 9);
        AddRow("OptCpu", dialog->OptCpu, {240, 72, 105, 17}, "コンピュータ", pop, 9);
        AddRow("OptS", dialog->OptS, {240, 8, 73, 17}, "サーバ", pop, 9);
        AddRow("Cancel", dialog->Cancel, {224, 104, 65, 25}, "Cancel", pop, 12);
        AddRow("OK", dialog->OK, {64, 104, 65, 25}, "ＯＫ", pop, 12);
        AddRow("Port", dialog->Port, {96, 72, 129, 25}, "9898", gothic, 12);
        AddRow("Host", dialog->Host, {96, 40, 129, 25}, "自分のパソコン", gothic, 12);
        AddRow("Handle", dialog->Handle, {96, 8, 129, 25}, "", {}, 0);
        AddRow("dialog Label3", dialog->Label3, {16, 72, 57, 17}, "ポート", pop, 12);
        AddRow("dialog Label2", dialog->Label2, {16, 40, 73, 17}, "ホスト名", pop, 12);
        AddRow("dialog Label1", dialog->Label1, {16, 8, 41, 17}, "名前", pop, 12);
    }

    void controls() {
        QFETCH(QWidget*, widget);
        QFETCH(QRect, rect);
        QFETCH(QString, caption);
        QFETCH(QString, family);
        QFETCH(double, size);
        QFETCH(QColor, color);
        QCOMPARE(widget->geometry(), rect);
        QCOMPARE(Caption(widget), caption);
        if (family.isEmpty()) {
            QCOMPARE(widget->font(), QApplication::font(widget));
        } else {
            QCOMPARE(widget->font().family(), family);
            QCOMPARE(widget->font().pointSizeF(), size);
            QCOMPARE(widget->font().weight(), QFont::Normal);
            QVERIFY(!widget->font().italic() && !widget->font().underline() && !widget->font().strikeOut());
        }
        if (color.isValid()) QCOMPARE(widget->palette().color(QPalette::WindowText), color);
        QVERIFY(widget->isVisible());
    }

    // The substitutes stand in for the design faces, which Linux lacks, and
    // a line comes out of one face from its first star to its last.
    void facesResolveToInstalledSubstitutes_data() {
        QTest::addColumn<QWidget*>("widget");
        QTest::addColumn<QStringList>("faces");
        QTest::addColumn<QString>("line");
        const QStringList gothic = {"IPAPGothic", "Noto Sans CJK JP"};
        QTest::newRow("OneSelf") << static_cast<QWidget*>(main->OneSelf)
                                 << QStringList{"RocknRoll One", "Noto Sans CJK JP"} << "自分";
        QTest::newRow("Port") << static_cast<QWidget*>(dialog->Port) << gothic << "9898";
        QTest::newRow("RecieveList") << static_cast<QWidget*>(main->RecieveList) << gothic << text::kListening;
    }

    void facesResolveToInstalledSubstitutes() {
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

    void stonesAndBanner() {
        for (int i = 0; i < kStoneCount; ++i) {
            QCOMPARE(main->Mystone[i]->size(), QSize(49, 49));
            QCOMPARE(main->Yourstone[i]->size(), QSize(49, 49));
            QCOMPARE(main->Mystone[i]->frameWidth(), 0);
            QCOMPARE(main->Mystone[i]->focusPolicy(), Qt::NoFocus);
        }
        // One picture pixel to a screen pixel, at the same layout size.
        for (const PictureBox* box : {main->Board, main->Mystone[0], main->Yourstone[0]}) {
            QCOMPARE(box->Picture().deviceIndependentSize(), QSizeF(box->size()));
            QCOMPARE(box->Picture().devicePixelRatio(), main->devicePixelRatioF());
        }
        QCOMPARE(main->StartP->geometry(), QRect(24, 200, 190, 70));
        QVERIFY(main->StartP->isHidden());
        QVERIFY(main->Board->frameWidth() > 0);
    }

    // Stones and banners carry the patch of board under their box, so where
    // the window shows them their corners show the board pixels beneath.
    void picturesSitOnTheBoard_data() {
        QTest::addColumn<QString>("picture");
        QTest::addColumn<int>("scale");
        QTest::addColumn<QRect>("box");  // in the window
        for (int scale : {1, bitmap::kSharpScale}) {
            const auto file = [scale](const QString& name) { return bitmap::AtScale(name, scale); };
            for (PointIndex p = 0; p < kPointCount; ++p) {
                for (const QString& stone : {file(bitmap::kGreen), file(bitmap::kBlue)})
                    QTest::addRow("%s on %d", qPrintable(stone), p) << stone << scale << geometry::StoneRect(p);
            }
            for (const QString& banner : {file(bitmap::kStart), file(bitmap::kWin), file(bitmap::kLose)})
                QTest::newRow(qPrintable(banner)) << banner << scale << geometry::kBannerRect;
        }
    }

    void picturesSitOnTheBoard() {
        QFETCH(QString, picture);
        QFETCH(int, scale);
        QFETCH(QRect, box);
        const QImage image = BitmapImage(picture);
        const QImage board = BitmapImage(bitmap::AtScale(bitmap::kBoard, scale));
        QCOMPARE(image.size(), box.size() * scale);
        const QPoint under =
            (box.topLeft() - main->Board->geometry().topLeft() - main->Board->contentsRect().topLeft()) * scale;
        const QPoint last(image.width() - 1, image.height() - 1);
        for (const QPoint corner : {QPoint(0, 0), QPoint(last.x(), 0), QPoint(0, last.y()), last})
            QCOMPARE(QColor(image.pixel(corner)), QColor(board.pixel(under + corner)));
    }

    // Later children cover earlier ones: the banner lies on top, labels lowest.
    void stackingOrder() {
        const QObjectList& children = main->children();
        const auto at = [&](QObject* o) { return children.indexOf(o); };
        QVERIFY(at(main->StartP) > at(main->Yourstone[2]));
        QVERIFY(at(main->Yourstone[0]) > at(main->Board));
        QVERIFY(at(main->Mystone[0]) > at(main->Board));
        QVERIFY(at(main->Board) > at(main->StartGame));
        QVERIFY(at(main->RecieveList) > at(main->Label5));
        QVERIFY(at(main->Label5) > at(main->OneSelf));
    }

    void tabOrder() {
        const QList<QWidget*> mainChain = {main->RecieveList, main->WinNum, main->LoseNum,
                                           main->Reset,       main->TSend,  main->StartGame};
        QCOMPARE(FocusChain(main), mainChain);
        const QList<QWidget*> dialogChain = {dialog->Handle, dialog->Host, dialog->Port, dialog->OK,
                                             dialog->Cancel, dialog->OptS, dialog->OptC, dialog->OptCpu};
        QCOMPARE(FocusChain(dialog), dialogChain);
    }

    void noDefaultButtons() {
        QVERIFY(!dialog->OK->isDefault() && !dialog->OK->autoDefault());
        QVERIFY(!dialog->Cancel->isDefault() && !dialog->Cancel->autoDefault());
        QVERIFY(!main->StartGame->autoDefault() && !main->Reset->autoDefault());
    }

    void labelsLieOpaqueOnButtonFace() {
        for (QLabel* label :
             std::initializer_list<QLabel*>{main->OneSelf, main->Rival, main->Label3, main->Label4, main->Label5}) {
            QVERIFY(label->autoFillBackground());
            QCOMPARE(label->palette().color(QPalette::Window), main->ButtonFace());
            QCOMPARE(label->frameShape(), QFrame::NoFrame);
        }
    }

    // Last, as it leaves its names in the labels.
    void namesFitTheirBoxes_data() {
        QTest::addColumn<NameLabel*>("label");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("whole");
        QTest::newRow("tall Latin letters") << main->OneSelf << "Hanako" << true;
        QTest::newRow("the computer") << main->Rival << "コンピュータ" << true;
        QTest::newRow("too long") << main->OneSelf << "ながいながいニックネーム" << false;
    }

    void namesFitTheirBoxes() {
        QFETCH(NameLabel*, label);
        QFETCH(QString, name);
        QFETCH(bool, whole);
        label->setText(name);
        QCOMPARE(label->text(), name);
        QCOMPARE(label->toolTip(), name);
        QCOMPARE(label->accessibleName(), name);
        const FittedName fitted = label->Fitted();
        const QRectF ink = QFontMetricsF(fitted.font, label).tightBoundingRect(fitted.text).translated(fitted.origin);
        QVERIFY(QRectF(label->contentsRect()).contains(ink));
        QCOMPARE(fitted.text == name, whole);
        if (!whole) QVERIFY(fitted.text.endsWith("…") && name.startsWith(fitted.text.chopped(1)));
    }
};

QTEST_MAIN(LayoutTest)
#include "test_layout.moc"
