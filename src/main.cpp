#include "app/CalibratorApp.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    CCalibratorApp app(QApplication::arguments());
    return app.Run();
}
