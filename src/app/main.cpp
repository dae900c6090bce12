#include "gui/window/Application.h"

int main(int argc, char** argv) {
    return thornbeck::RunThornbeck(argc, argv);
}
