// Test support: the console texts as the user must see them, written out apart from the program's own copy.
#pragma once

#include <string>

namespace expected {

inline const std::string MENU =
    "\n正規化カム曲線S(T)と速度V(T)・加速度A(T)曲線を描画" "\n   0<T<1, 0<S<1  " "\nカム曲線を設定" "\n0:放物線  "
    "\n1:単弦曲線                  2:サイクロイド曲線  3:変形台形曲線"
    "\n4:変形正弦曲線　　　        5:Gutman F-3曲線    6:変形等速度曲線" "\n7:２点中間点指定カム曲線\n"
    "\nどのカム曲線？　番号=";
inline const std::string KEY_HELP =
    "\n\nキーによる操作選択" "\n'0'    ：放物線          　" "  '1'    ：単弦曲線　" "\n'2'    ：サイクロイド曲線　"
    "  '3'    ：変形台形曲線  " "\n'4'    ：変形正弦曲線      " "  '5'    ：Gutman F-3曲線"
    "\n'6'    ：変形等速度曲線    " "  '7'    ：２中間点指定カム曲線" "\n's'    ：運動継続" "\n't'    ：正逆転"
    "\n'w' 'W'：図の縮小拡大" "\n'c'　　：３種のカム曲線を選んで描画" "\nESC    ：終了                                描画画面へ";
inline const std::string CURVE_LINES[8] = {"\n0:放物線", "\n1:単弦曲線", "\n2:サイクロイド曲線", "\n3:変形台形曲線",
                                           "\n4:変形正弦曲線", "\n5:Gutman F-3曲線", "\n6:変形等速度曲線",
                                           "\n7:２点中間点指定カム曲線"};
// Both texts of the curve-7 prompt.
inline const std::string POINTS_PROMPT =
    "\n中間点入力(0<Ta<Tb<1), (0<Sa,Sb<1) A(Ta,Sa), B(Tb,Sb)（コンマなしで）" "\nTa Sa Tb Sb=";
inline const std::string POINTS_ERROR = "\n入力エラー：0<Ta<Tb<1 を満たす4つの数を入力してください";
inline const std::string COMPARISON_PROMPT = "\n３種のカム曲線の番号を入力   ";
inline const std::string WINDOW_TITLE = "カム曲線　1-7:カム曲線選択, c:3種カム, W,w:拡大縮小，r:正逆転，s:継続";

}  // namespace expected
