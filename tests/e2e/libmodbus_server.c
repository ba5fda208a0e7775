/* A Modbus TCP server of an independent implementation (libmodbus) for the
 * end-to-end tests, holding at unit 1 the same image as pymodbus_slave.py:
 * registers 0..2 (coding, firmware, device type), 15, 0x21, the
 * configuration, texts from 0x300, units from 0x400, coils 0..31.
 * Listens on a free port of 127.0.0.1 and prints "ready PORT". Requests are
 * taken whole by their MBAP length, as a gateway takes them, and answered
 * by libmodbus. */
#include <modbus.h>

#include <arpa/inet.h>
#include <stdio.h>
#include <string.h>
#include <sys/socket.h>
#include <unistd.h>

static int image_value(int r) {
  if (r < 60) return (r * 37 + 11) % 1000;
  if (r >= 0x300 && r < 0x3DC) { /* "Text 07" and so on, NUL-padded */
    char text[21] = {0};
    int k = (r - 0x300) / 10, i = (r - 0x300) % 10;
    snprintf(text, sizeof text, "Text %02d", k);
    return (unsigned char)text[2 * i] << 8 | (unsigned char)text[2 * i + 1];
  }
  if (r >= 0x400 && r < 0x43C) { /* three units of up to three letters per block */
    unsigned char units[20] = {0};
    int k = (r - 0x400) / 10, i = (r - 0x400) % 10;
    for (int m = 0; m < 3; ++m) {
      units[4 * m] = (unsigned char)(65 + (3 * k + m) % 26);
      units[4 * m + 1] = (unsigned char)(97 + m);
    }
    return units[2 * i] << 8 | units[2 * i + 1];
  }
  return 0;
}

int main(void) {
  modbus_t* ctx = modbus_new_tcp("127.0.0.1", 0);
  modbus_mapping_t* map = modbus_mapping_new(0x120, 0, 0x500, 0);
  if (ctx == NULL || map == NULL) return 1;
  for (int r = 0; r < 0x500; ++r) map->tab_registers[r] = (uint16_t)image_value(r);
  static const int identity[][2] = {{0, 0x0501}, {1, 71}, {2, 1}, {15, 11}, {0x21, 1}};
  for (int i = 0; i < 5; ++i) map->tab_registers[identity[i][0]] = (uint16_t)identity[i][1];
  for (int c = 0; c < 0x120; ++c) map->tab_bits[c] = c % 3 == 0;

  int listener = modbus_tcp_listen(ctx, 1);
  if (listener < 0) return 1;
  struct sockaddr_in where;
  socklen_t size = sizeof where;
  getsockname(listener, (struct sockaddr*)&where, &size);
  printf("ready %d\n", ntohs(where.sin_port));
  fflush(stdout);
  for (;;) {
    int client = modbus_tcp_accept(ctx, &listener);
    if (client < 0) return 1;
    uint8_t request[7 + 260];
    while (recv(client, request, 7, MSG_WAITALL) == 7) {
      int length = request[4] << 8 | request[5];
      if (length < 2 || length > 254) break;
      if (recv(client, request + 7, (size_t)(length - 1), MSG_WAITALL) != length - 1) break;
      modbus_reply(ctx, request, 6 + length, map);
    }
    close(client);
  }
}
