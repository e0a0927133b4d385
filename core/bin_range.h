#pragma once

// A run of consecutive bins of a period that may wrap round its end: first, first + 1, ...,
// count bins in all, each taken modulo bins (a count of bins or more takes every bin).
struct BinRange {
    int first = 0; // in [0, bins)
    int count = 0;
    int bins = 0;

    bool Contains(int bin) const {
        if (bins <= 0)
            return false;
        const int fromFirst = ((bin - first) % bins + bins) % bins;
        return fromFirst < count;
    }
    bool operator==(const BinRange&) const = default;
};
