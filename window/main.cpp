// dorvelix: the main window.
#include "app_icon.h"
#include "form1.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Dorvelix"));
    QApplication::setWindowIcon(dorvelix::applicationIcon());
    dorvelix::Form1 form;
    form.Form_Load();
    form.show();
    return app.exec();
}
