// The console texts of the dialogue, UTF-8, each written where the previous one left the cursor.
// Most begin with a line break and end without one; U+3000 is the full-width space.
#pragma once

#include "curves/motion_tables.h"

constexpr int CURVE_MENU_LENGTH = 8;
constexpr int KEY_HELP_LENGTH = 14;

// Printed by start-up before the start key is read.
constexpr const char* CURVE_MENU[CURVE_MENU_LENGTH] = {
    "\n正規化カム曲線S(T)と速度V(T)・加速度A(T)曲線を描画",
    "\n   0<T<1, 0<S<1  ",
    "\nカム曲線を設定",
    "\n0:放物線  ",
    "\n1:単弦曲線                  2:サイクロイド曲線  3:変形台形曲線",
    "\n4:変形正弦曲線　　　        5:Gutman F-3曲線    6:変形等速度曲線",
    "\n7:２点中間点指定カム曲線\n",
    "\nどのカム曲線？　番号=",
};

// Printed after a key that selects a curve, indexed by CurveId.
constexpr const char* CURVE_LINES[CURVE_COUNT] = {
    "\n0:放物線",
    "\n1:単弦曲線",
    "\n2:サイクロイド曲線",
    "\n3:変形台形曲線",
    "\n4:変形正弦曲線",
    "\n5:Gutman F-3曲線",
    "\n6:変形等速度曲線",
    "\n7:２点中間点指定カム曲線",
};

// The two texts before the four numbers of curve 7.
constexpr const char* POINTS_PROMPT = "\n中間点入力(0<Ta<Tb<1), (0<Sa,Sb<1) A(Ta,Sa), B(Tb,Sb)（コンマなしで）";
constexpr const char* POINTS_INPUT_LINE = "\nTa Sa Tb Sb=";
constexpr const char* POINTS_ERROR = "\n入力エラー：0<Ta<Tb<1 を満たす4つの数を入力してください";

// Two entries share a line: texts 2 and 3, 4 and 5, 6 and 7, 8 and 9.
constexpr const char* KEY_HELP[KEY_HELP_LENGTH] = {
    "\n\nキーによる操作選択",
    "\n'0'    ：放物線          　",
    "  '1'    ：単弦曲線　",
    "\n'2'    ：サイクロイド曲線　",
    "  '3'    ：変形台形曲線  ",
    "\n'4'    ：変形正弦曲線      ",
    "  '5'    ：Gutman F-3曲線",
    "\n'6'    ：変形等速度曲線    ",
    "  '7'    ：２中間点指定カム曲線",
    "\n's'    ：運動継続",
    "\n't'    ：正逆転",
    "\n'w' 'W'：図の縮小拡大",
    "\n'c'　　：３種のカム曲線を選んで描画",
    "\nESC    ：終了                                描画画面へ",
};

constexpr const char* COMPARISON_PROMPT = "\n３種のカム曲線の番号を入力   ";
