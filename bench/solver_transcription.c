/* The closed-form steps transcribed line for line, scalar, in plain C: the baseline of
 * bench/solver_whole_process.sh. Computes the arrays for one section and prints a checksum
 * so that none of the work can be left out.
 *   solver_transcription F G m N1 AlfaD */
#include <stdio.h>
#include <stdlib.h>

#include "support/transcribed_steps.h"

int main(int argc, char** argv) {
    double F, G, m, AlfaD, checksum = 0;
    double *x, *y, *Cu;
    int N1, k;
    if (argc != 6) {
        fprintf(stderr, "usage: solver_transcription F G m N1 AlfaD\n");
        return 2;
    }
    F = atof(argv[1]);
    G = atof(argv[2]);
    m = atof(argv[3]);
    N1 = atoi(argv[4]);
    AlfaD = atof(argv[5]);
    if (N1 < 2) return 2;
    x = malloc(sizeof(double) * (N1 + 1));
    y = malloc(sizeof(double) * (N1 + 1));
    Cu = malloc(sizeof(double) * (N1 + 1));
    if (!x || !y || !Cu) return 1;
    transcribedSteps(N1, F, G, m, 1, AlfaD, x, y, Cu);
    for (k = 1; k <= N1; ++k) checksum += x[k] + y[k] + Cu[k];
    printf("%.17g\n", checksum);
    free(x);
    free(y);
    free(Cu);
    return 0;
}
