#include "app/CQorvaneApp.h"

int main(int argc, char **argv)
{
    CQorvaneApp app(argc, argv);
    return app.run();
}
