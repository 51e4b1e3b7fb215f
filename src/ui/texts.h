#pragma once
// The fixed texts the windows show besides those of their forms: message
// boxes and system lines, the connection's failures among them. The blanks
// inside the framed system lines are ideographic spaces (U+3000); "～" is
// the fullwidth tilde (U+FF5E).

#include <QString>

namespace torvane::text {

// What the connection dialog's host box shows for each role.
inline const QString kOwnComputer = QStringLiteral("自分のパソコン");
inline const QString kThisComputer = QStringLiteral("このパソコン");
inline const QString kLoopbackHost = QStringLiteral("127.0.0.1");
// A game found on the local network: 「Hanako（192.168.1.5:9898）」.
inline const QString kFoundGame = QStringLiteral("%1（%2:%3）");

// Message boxes.
inline const QString kInputErrorTitle = QStringLiteral("入力エラー");
inline const QString kNeedNickName = QStringLiteral("ニックネームを入力して下さい！");
inline const QString kNeedPort = QStringLiteral("ポートを入力して下さい！");
inline const QString kNeedHost = QStringLiteral("接続先を入力して下さい！");
inline const QString kBadPort = QStringLiteral("ポートには1～65535の数字を入力して下さい！");
inline const QString kRuleTitle = QStringLiteral("ルール違反");
inline const QString kCannotPlace = QStringLiteral("そこには置けません");
inline const QString kNewGameTitle = QStringLiteral("ゲーム開始");
inline const QString kAbandonGame = QStringLiteral("このゲームをやめて、新しいゲームを始めますか？");
inline const QString kYes = QStringLiteral("はい");
inline const QString kNo = QStringLiteral("いいえ");

// System lines.
inline const QString kListening = QStringLiteral("☆☆☆　サーバできたよ～ん　☆☆☆");
inline const QString kAddressesOpen = QStringLiteral("☆☆☆　接続先：");
inline const QString kAddressSeparator = QStringLiteral("、");
inline const QString kAddressesClose = QStringLiteral("　☆☆☆");
// The router's answer about forwarding the listening port; the address to
// give and the reasons none can be given.
inline const QString kInternetOpen = QStringLiteral("☆☆☆　インターネットから：");
inline const QString kRouterSilent = QStringLiteral("☆☆☆　ポート開放：応答するルータがありません　☆☆☆");
inline const QString kRouterRefused = QStringLiteral("☆☆☆　ポート開放：ルータに断られました　☆☆☆");
inline const QString kRouterPortTaken =
    QStringLiteral("☆☆☆　ポート開放：ルータのこのポートは別のパソコンが使っています　☆☆☆");
inline const QString kRouterNotPublic = QStringLiteral(
    "☆☆☆　ポート開放：ルータの外側のアドレス%1がプライベート／共有アドレスのため、インターネットからは届きません　☆☆☆");
// The router stopped forwarding the port (it restarted, for one); the line
// with the address follows once it forwards again.
inline const QString kRouterPortLost =
    QStringLiteral("☆☆☆　ポート開放：ルータの転送が切れました　開け直しています　☆☆☆");
inline const QString kConnecting = QStringLiteral("☆☆☆　サーバに接続中...　☆☆☆");
inline const QString kAccepted = QStringLiteral("☆☆☆　クライアントが接続したよ　☆☆☆");
inline const QString kConnected = QStringLiteral("☆☆☆　サーバに接続成功だ～～　☆☆☆");
inline const QString kDisconnected = QStringLiteral("☆☆☆　切断されました　☆☆☆");
inline const QString kComputerFailed = QStringLiteral("☆☆☆　コンピュータを起動できません　☆☆☆");
inline const QString kNotConnected = QStringLiteral("☆☆☆　相手と接続していません　☆☆☆");
inline const QString kYouMoveFirst = QStringLiteral("☆☆☆　ゲーム開始　あなたは先攻です　☆☆☆");
inline const QString kYouMoveSecond = QStringLiteral("☆☆☆　ゲーム開始　あなたは後攻です　☆☆☆");
inline const QString kYouWin = QStringLiteral("☆☆☆　あなたの勝ちです　☆☆☆");
inline const QString kYouLose = QStringLiteral("☆☆☆　あなたの負けです　☆☆☆");
inline const QString kDraw = QStringLiteral("☆☆☆　引き分け（同じ局面が３回）　☆☆☆");
// Against the computer on this machine the connection lines speak of it.
inline const QString kPlayingComputer = QStringLiteral("☆☆☆　コンピュータと対戦します　☆☆☆");
// The computer's level, 1 to 5, whenever it changes.
inline const QString kComputerLevel = QStringLiteral("☆☆☆　コンピュータのレベル：%1（５段階）　☆☆☆");

// What a screen reader says of the board: the nine points by where they
// lie, what stands on each, and whose move it is.
inline const QString kPointNames[] = {
    QStringLiteral("左上"), QStringLiteral("上"),   QStringLiteral("右上"),
    QStringLiteral("左"),   QStringLiteral("中央"), QStringLiteral("右"),
    QStringLiteral("左下"), QStringLiteral("下"),   QStringLiteral("右下"),
};
inline const QString kCell = QStringLiteral("%1　%2");
inline const QString kOwnStone = QStringLiteral("あなたの石");
inline const QString kRivalStone = QStringLiteral("相手の石");
inline const QString kFreePoint = QStringLiteral("空き");
inline const QString kInHand = QStringLiteral("（持ち上げ中）");
inline const QString kRivalMoved = QStringLiteral("相手：%1から%2へ");
inline const QString kYourTurn = QStringLiteral("あなたの番です");
inline const QString kRivalsTurn = QStringLiteral("相手の番です");
// The name labels between games.
inline const QString kOwnNameLabel = QStringLiteral("あなたの名前");
inline const QString kRivalNameLabel = QStringLiteral("相手の名前");
// Why a point chosen on the board does nothing.
inline const QString kNoGame = QStringLiteral("ゲームが始まっていません");
inline const QString kPickOwnStone = QStringLiteral("自分の石を選んでください");

// Why listening or connecting failed, or a connection broke.
inline const QString kRefused = QStringLiteral("接続が拒否されました");
inline const QString kHostNotFound = QStringLiteral("接続先が見つかりません");
inline const QString kTimedOut = QStringLiteral("接続がタイムアウトしました");
inline const QString kPortInUse = QStringLiteral("ポート%1は既に使用されています");
inline const QString kPortDenied = QStringLiteral("ポート%1を使用する権限がありません");
inline const QString kOtherError = QStringLiteral("通信エラー：");

// Lines about bad data from the rival.
inline const QString kErrorNoName = QStringLiteral("エラーコード１Ｃ：名前を判別できませんでした");
inline const QString kErrorNoChat = QStringLiteral("エラーコード０：相手のメッセージを受信できませんでした");
inline const QString kErrorNoMove = QStringLiteral("エラーコード２：位置情報が不明です");

}  // namespace torvane::text
