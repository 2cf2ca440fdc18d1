// The box of the robot's self-test, shown in the test and by robot_fixture.
#pragma once

// The caption of the setup program's boxes; ソ, 表 and 能 end in the byte
// 0x5C, and a blank line stands between the two sentences.
constexpr char kBoxCaption[] = "ヴェルンド！出納帳 Version 5.5(ゼノプ版) セットアップ";
constexpr char kBoxText[] = "ソフトウェアの使用許諾契約書を表示します。\n\nこの機能は後から使用できます。";
