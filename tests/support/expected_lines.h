#pragma once
// The system lines as the user must see them, written out here on their own
// so that a changed text in the program fails the tests.

#include <QString>

namespace torvane::testing::line {

inline const QString kListening = QStringLiteral("☆☆☆　サーバできたよ～ん　☆☆☆");
inline const QString kConnecting = QStringLiteral("☆☆☆　サーバに接続中...　☆☆☆");
inline const QString kAccepted = QStringLiteral("☆☆☆　クライアントが接続したよ　☆☆☆");
inline const QString kConnected = QStringLiteral("☆☆☆　サーバに接続成功だ～～　☆☆☆");
inline const QString kDisconnected = QStringLiteral("☆☆☆　切断されました　☆☆☆");
inline const QString kNotConnected = QStringLiteral("☆☆☆　相手と接続していません　☆☆☆");
inline const QString kFirst = QStringLiteral("☆☆☆　ゲーム開始　あなたは先攻です　☆☆☆");
inline const QString kSecond = QStringLiteral("☆☆☆　ゲーム開始　あなたは後攻です　☆☆☆");
inline const QString kWin = QStringLiteral("☆☆☆　あなたの勝ちです　☆☆☆");
inline const QString kLose = QStringLiteral("☆☆☆　あなたの負けです　☆☆☆");

}  // namespace torvane::testing::line
