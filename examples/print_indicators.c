/* Prints a few indicator values for a built-in history of 120 hourly bars.
 * Shows the whole use of the library from C: fill Bar records, call an
 * entry, read one double per bar. */
#include <math.h>
#include <stdio.h>
#include <string.h>

#include "zentrik/zentrik.h"

#define BAR_COUNT 120

int main(void) {
    static Bar bars[BAR_COUNT];
    static double sma[BAR_COUNT], ema[BAR_COUNT], wma[BAR_COUNT];
    int i;
    memset(bars, 0, sizeof bars);
    for (i = 0; i < BAR_COUNT; ++i) {
        double mid = 110.0 + 0.8 * sin(i / 9.0) + 0.002 * i;
        bars[i].time = 39815.0 + i / 24.0; /* from 2009-01-02 00:00, hourly */
        bars[i].open = floor((mid - 0.03) * 100.0 + 0.5) / 100.0;
        bars[i].close = floor((mid + 0.02) * 100.0 + 0.5) / 100.0;
        bars[i].high = floor((mid + 0.11) * 100.0 + 0.5) / 100.0;
        bars[i].low = floor((mid - 0.12) * 100.0 + 0.5) / 100.0;
        bars[i].volume = 100 + i;
    }
    if (Srednee(sma, BAR_COUNT, bars, 13) != ZENTRIK_OK ||
        SredneeX(ema, BAR_COUNT, bars, 13) != ZENTRIK_OK ||
        Indikator(21, wma, BAR_COUNT, bars) != ZENTRIK_OK) {
        fprintf(stderr, "an indicator call failed\n");
        return 1;
    }
    printf("bar,close,sma13,ema13,wma13\n");
    for (i = BAR_COUNT - 10; i < BAR_COUNT; ++i) {
        printf("%d,%.2f,%.6f,%.6f,%.6f\n", i, bars[i].close, sma[i], ema[i], wma[i]);
    }
    return 0;
}
