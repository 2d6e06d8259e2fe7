// Placeholder entry point until the application shell lands.
#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    return 0;
}
