// The message box the self-test shows, in the test and in its child process.
#pragma once

// The caption of the setup program's message boxes.
constexpr char kBoxCaption[] = "ヴェルンド！出納帳 Version 5.5(ゼノプ版) セットアップ";
// ソ, 表 and 能 end in the byte 0x5C, the backslash; a blank line between
// the two sentences.
constexpr char kBoxText[] = "ソフトウェアの使用許諾契約書を表示します。\n\n"
                            "この機能は後から使用できます。";
