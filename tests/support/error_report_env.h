// Test suites that show the program's messages link error_report_env.cpp: it
// starts the message functions (caption kTestTitle, the message-box thread)
// before the first test and stops them after the last.
#pragma once

constexpr char kTestTitle[] = "ヴェルンド！出納帳 Version 5.5(ゼノプ版) セットアップ";
