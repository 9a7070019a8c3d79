// camcurves: cam motion laws, their charts and a turning disk cam, for teaching cam design.
#include "app/start_up.h"

int main(int argc, char** argv)
{
    startUp(argc, argv);
}
