#include "band_flow.h"

std::vector<bool> BandRowStarts(const std::vector<int>& bandWidths, int rowWidth) {
    std::vector<bool> starts(bandWidths.size(), false);
    int used = 0;
    for (std::size_t i = 0; i < bandWidths.size(); ++i) {
        if (i == 0 || used + bandWidths[i] > rowWidth) {
            starts[i] = true;
            used = 0;
        }
        used += bandWidths[i];
    }
    return starts;
}
