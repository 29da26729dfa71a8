#include "res/Resources.h"

namespace res {

const MenuTemplate kMenu133{
    133,
    {
        {"ﾌｧｲﾙ(&F)",
         {
             {"上書き保存(&S)", 32775, "変更をUnitinfo.datに保存\n保存"},
             {nullptr, 0, nullptr},
             {"兵器ﾃﾞｰﾀの読み込み(&I)", 32777, nullptr},
             {"兵器ﾃﾞｰﾀの書き出し(&O)", 32776, nullptr},
             {"兵器ﾃﾞｰﾀの一括読み込み", 32778, nullptr},
             {nullptr, 0, nullptr},
             {"CSVに書き出し(&C)...", 32820, nullptr},
             {"CSVから読み込み(&V)...", 32821, nullptr},
             {nullptr, 0, nullptr},
             {"ﾊﾞｯｸｱｯﾌﾟと比較(&B)...", 32805, nullptr},
             {"他のﾌｧｲﾙと比較(&D)...", 32806, nullptr},
             {"変更をﾕﾆｯﾄﾃﾞｰﾀとして書き出し(&K)...", 32830, nullptr},
             {nullptr, 0, nullptr},
             {"終了(&E)", 57665, "ｱﾌﾟﾘｹｰｼｮﾝの終了\n終了"},
         }},
        {"編集(&E)",
         {
             {"元に戻す(&U)\tCtrl+Z", 32800, nullptr},
             {"やり直し(&R)\tCtrl+Y", 32801, nullptr},
             {nullptr, 0, nullptr},
             {"検索(&F)...\tCtrl+F", 32802, nullptr},
             {"次を検索(&N)\tF3", 32803, nullptr},
             {"前を検索(&P)\tShift+F3", 32804, nullptr},
             {nullptr, 0, nullptr},
             {"ﾃﾞｰﾀの検査(&V)...", 32831, nullptr},
         }},
        {"表示(&V)",
         {
             {"移動力(&S)", 32771, nullptr},
             {"生産可能国(&P)", 32772, nullptr},
             {"不明ﾃﾞｰﾀ(&E)", 32779, nullptr},
         }},
    },
};

}  // namespace res
