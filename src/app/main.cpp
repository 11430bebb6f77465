#include <QApplication>
#include <QTextStream>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QTextStream(stdout) << "Kalendrix\n";
    return 0;
}
