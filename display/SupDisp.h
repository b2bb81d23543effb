// Painting of the super probes: a probe-style pane over every lead tab
// recorded at the first drawing, showing its signal's present value.
#pragma once

// Super-probe panes fill two thirds of their tab box.
constexpr float superProbeShrinkFactor = 0.66f;
