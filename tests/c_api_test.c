/* Compiles the public header as C and calls the library through it. */
#include <stdio.h>
#include <string.h>

#include "zentrik/zentrik.h"

int main(void) {
    Bar bars[60];
    double result[60];
    int i;
    int32_t status;
    memset(bars, 0, sizeof bars);
    for (i = 0; i < 60; ++i) {
        bars[i].close = 100.0 + i;
        bars[i].open = bars[i].close;
        bars[i].high = bars[i].close + 1.0;
        bars[i].low = bars[i].close - 1.0;
    }
    status = Indikator(0, result, 60, bars);
    if (status != ZENTRIK_OK) {
        fprintf(stderr, "Indikator returned %d\n", (int)status);
        return 1;
    }
    /* simple average of 3 closes at bar 2: (100 + 101 + 102) / 3 */
    if (result[2] != 101.0 || result[0] != 100.0) {
        fprintf(stderr, "unexpected values %.17g %.17g\n", result[0], result[2]);
        return 1;
    }
    if (Indikator(0, NULL, 60, bars) != ZENTRIK_EAccessViolation) return 1;
    if (Indikator(0, result, 0, bars) != ZENTRIK_ERangeError) return 1;
    printf("c api ok\n");
    return 0;
}
