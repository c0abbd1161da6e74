#include "app/Application.h"

int main(int argc, char** argv) {
    return pesterly::RunApplication(argc, argv);
}
