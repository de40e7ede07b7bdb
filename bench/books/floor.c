/* The floor of book conversion: writes COUNT records of 132 bytes, as the
 * work file holds them, through a 1 MB stdio buffer, and nothing else.
 *
 *   floor PATH COUNT
 */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: floor PATH COUNT\n");
        return 2;
    }
    const long long count = atoll(argv[2]);
    FILE* f = fopen(argv[1], "wb");
    if (f == NULL) {
        perror(argv[1]);
        return 1;
    }
    static char buffer[1 << 20];
    setvbuf(f, buffer, _IOFBF, sizeof buffer);
    char record[132];
    memset(record, ' ', sizeof record);
    memcpy(record, "?E     1rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b - - 0 0", 63);
    for (long long n = 0; n < count; ++n) {
        record[7] = (char)('0' + n % 10);
        if (fwrite(record, sizeof record, 1, f) != 1) {
            perror(argv[1]);
            return 1;
        }
    }
    if (fclose(f) != 0) {
        perror(argv[1]);
        return 1;
    }
    return 0;
}
