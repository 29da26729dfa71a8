// The floor that Corvane's start-up is set against: a bare Qt 6 dialog of the main dialog's size
// with about 200 controls (a list of 1280 entries, 160 line edits, 13 check boxes, 5 combos, 20
// labels, 3 buttons), its texts Japanese in a Japanese font named as any Japanese Qt program names
// it, and nothing else: no settings, no translations, no files. Titled "Baseline".

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QDialog dialog;
    dialog.setWindowTitle(QStringLiteral("Baseline"));
    dialog.setFixedSize(870, 600);
    dialog.setFont(QFont(QStringLiteral("IPAPGothic"), 9));
    auto* list = new QListWidget(&dialog);
    list->setGeometry(10, 30, 180, 430);
    list->setUniformItemSizes(true);
    for (int i = 0; i < 1280; ++i)
        list->addItem(QStringLiteral("%1:兵器名%2").arg(i, 4, 10, QLatin1Char('0')).arg(i));
    for (int i = 0; i < 160; ++i) {
        auto* edit = new QLineEdit(QString::number(i), &dialog);
        edit->setAlignment(Qt::AlignRight);
        edit->setGeometry(220 + (i % 16) * 40, 80 + (i / 16) * 24, 36, 20);
    }
    for (int i = 0; i < 13; ++i)
        (new QCheckBox(QStringLiteral("生産国%1").arg(i), &dialog))->setGeometry(220 + (i % 7) * 90, 330 + (i / 7) * 24, 85, 20);
    for (int c = 0; c < 5; ++c) {
        auto* combo = new QComboBox(&dialog);
        for (int i = 0; i < (c == 0 ? 128 : 10); ++i)
            combo->addItem(QStringLiteral("項目%1").arg(i), i);
        combo->setGeometry(220 + c * 120, 40, 110, 22);
    }
    for (int i = 0; i < 20; ++i)
        (new QLabel(QStringLiteral("見出し%1").arg(i), &dialog))->setGeometry(220 + (i % 10) * 60, 390 + (i / 10) * 20, 55, 18);
    const char* buttons[] = {"適用", "OK", "ｷｬﾝｾﾙ"};
    for (int i = 0; i < 3; ++i)
        (new QPushButton(QString::fromUtf8(buttons[i]), &dialog))->setGeometry(560 + i * 100, 560, 90, 28);
    dialog.show();
    return application.exec();
}
