// The computer laid out in the test's process.
#include "ComputerLayout.h"

#include "core/Sim.h"
#include "core/cmdLine.h"
#include "display/Ph5.h"
#include "display/SchCell.h"
#include "display/Window.h"
#include "support/Fresh.h"

Windex &layOutComputer(int width, int height) {
    freshNetlist();
    useXDisplay = 0;
    simnet();
    ConversionOptions quiet;
    quiet.keepCapture = true;
    quiet.checkConnectivity = false;
    convertCapturedNetlist(quiet);
    SchematicCell schematic;
    phaseFive->componentTiling(&schematic);
    Windex &view = *phaseFive->windexPointer;
    view.xPixels = width;
    view.yPixels = height;
    view.resetView();
    return view;
}
