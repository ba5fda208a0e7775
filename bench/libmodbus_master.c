/* A libmodbus Modbus TCP master for the network benchmark: sends the
 * requests given on standard input (one a line, unit identifier and PDU as
 * hex, e.g. "0103000000 0A" without blanks) one after the other to
 * HOST:PORT, waits for each answer and prints the time of all in ms. */
#include <modbus.h>

#include <stdio.h>
#include <stdlib.h>
#include <errno.h>
#include <string.h>
#include <time.h>

static double now_ms(void) {
  struct timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

int main(int argc, char** argv) {
  if (argc != 3) {
    fprintf(stderr, "usage: %s HOST PORT < requests\n", argv[0]);
    return 2;
  }
  uint8_t requests[64][260];
  int sizes[64], count = 0;
  char line[600];
  while (count < 64 && fgets(line, sizeof line, stdin)) {
    int n = 0;
    for (char* p = line; p[0] && p[1] && p[0] != '\n'; p += 2) {
      char hex[3] = {p[0], p[1], 0};
      requests[count][n++] = (uint8_t)strtol(hex, NULL, 16);
    }
    if (n >= 2) sizes[count++] = n;
  }
  modbus_t* ctx = modbus_new_tcp(argv[1], atoi(argv[2]));
  if (ctx == NULL || modbus_connect(ctx) != 0) {
    fprintf(stderr, "cannot connect: %s\n", modbus_strerror(errno));
    return 1;
  }
  uint8_t answer[MODBUS_TCP_MAX_ADU_LENGTH];
  const double start = now_ms();
  for (int k = 0; k < count; ++k) {
    if (modbus_send_raw_request(ctx, requests[k], sizes[k]) < 0 ||
        modbus_receive_confirmation(ctx, answer) < 0) {
      fprintf(stderr, "request %d: %s\n", k + 1, modbus_strerror(errno));
      return 1;
    }
  }
  printf("libmodbus master: %d requests in %.0f ms\n", count, now_ms() - start);
  modbus_close(ctx);
  modbus_free(ctx);
  return 0;
}
