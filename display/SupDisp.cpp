// Painting of the super probes (PhaseFive::displaySuperProbes).
#include "display/SupDisp.h"

#include "core/Ph3.h"
#include "display/Pane.h"
#include "display/Ph5.h"

void PhaseFive::displaySuperProbes() {
    for (const SuperProbe *p = superProbeList.start; p != nullptr; p = p->link)
        drawPane(p->x, p->y, p->w, p->h, phaseThree->currentSignals[p->signalIndex], true,
                 superProbeShrinkFactor);
}
