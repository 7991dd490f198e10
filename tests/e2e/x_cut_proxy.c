/* Stands between one X client and a local X server and cuts the connection after a given
 * number of messages from the server, so that a test can lose the display at the same point of
 * the client's life every run.
 *
 *     x_cut_proxy SERVER_DISPLAY_NUMBER MESSAGES
 *
 * It takes a free display number (its lock file, as X servers take theirs, and the abstract
 * socket that Xlib tries first), prints the number and a newline, and serves one client. The
 * server's messages are counted whole: the connection setup reply is the first, then every
 * reply, event and error. Once MESSAGES of them have reached the client, nothing more does and
 * both sockets are closed (0: at once). At the end it prints how many messages the server
 * sent in all, for a test to measure a run. */
#define _GNU_SOURCE
#include <fcntl.h>
#include <poll.h>
#include <stddef.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <signal.h>
#include <string.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

static const int FIRST_DISPLAY = 64;
static const int LAST_DISPLAY = 999;
static const unsigned char REPLY = 1;
static const unsigned char GENERIC_EVENT = 35;

static char lockPath[64];

/* Where the server's byte stream is: inside a message's header or its body. */
struct Framing {
    unsigned char header[32];
    size_t have;
    uint64_t bodyLeft;
    long messages;
};

static socklen_t DisplayAddress(int number, struct sockaddr_un* address)
{
    memset(address, 0, sizeof *address);
    address->sun_family = AF_UNIX;
    /* sun_path[0] stays 0: the abstract name */
    const int length = snprintf(address->sun_path + 1, sizeof address->sun_path - 1,
                                "/tmp/.X11-unix/X%d", number);
    return (socklen_t)(offsetof(struct sockaddr_un, sun_path) + 1 + (size_t)length);
}

static int TakeDisplay(int number, int listener)
{
    snprintf(lockPath, sizeof lockPath, "/tmp/.X%d-lock", number);
    const int lock = open(lockPath, O_WRONLY | O_CREAT | O_EXCL, 0444);
    if (lock < 0)
        return 0;
    dprintf(lock, "%10d\n", (int)getpid());
    close(lock);
    struct sockaddr_un address;
    if (bind(listener, (struct sockaddr*)&address, DisplayAddress(number, &address)) == 0 &&
        listen(listener, 1) == 0)
        return 1;
    unlink(lockPath);
    return 0;
}

static int ConnectToServer(int number)
{
    const int server = socket(AF_UNIX, SOCK_STREAM, 0);
    struct sockaddr_un address;
    return connect(server, (struct sockaddr*)&address, DisplayAddress(number, &address)) == 0
               ? server : -1;
}

/* The setup reply has an 8-byte header with its length in 4-byte units at byte 6; every later
 * message is 32 bytes, and replies and generic events carry more, counted at byte 4. The
 * server writes in the client's byte order, which is this machine's. */
static uint64_t BodyLength(const struct Framing* framing)
{
    uint16_t setupUnits;
    uint32_t units = 0;
    if (framing->messages == 0) {
        memcpy(&setupUnits, framing->header + 6, sizeof setupUnits);
        return 4 * (uint64_t)setupUnits;
    }
    if (framing->header[0] == REPLY || framing->header[0] == GENERIC_EVENT)
        memcpy(&units, framing->header + 4, sizeof units);
    return 4 * (uint64_t)units;
}

/* Follows `size` bytes from the server; returns how many of them come before the end of
 * message number `cut`. */
static size_t Frame(struct Framing* framing, const unsigned char* bytes, size_t size, long cut)
{
    size_t at = 0;
    while (at < size && framing->messages < cut) {
        const size_t headerSize = framing->messages == 0 ? 8 : 32;
        if (framing->have < headerSize) {
            framing->header[framing->have++] = bytes[at++];
            if (framing->have == headerSize)
                framing->bodyLeft = BodyLength(framing);
        } else {
            const size_t part = size - at < framing->bodyLeft ? size - at : (size_t)framing->bodyLeft;
            at += part;
            framing->bodyLeft -= part;
        }
        if (framing->have == headerSize && framing->bodyLeft == 0) {
            ++framing->messages;
            framing->have = 0;
        }
    }
    return at;
}

/* False when the source has closed or the destination is gone. */
static int Pass(int from, int to, struct Framing* framing, long cut)
{
    unsigned char buffer[65536];
    const ssize_t got = read(from, buffer, sizeof buffer);
    const size_t passed = framing ? Frame(framing, buffer, got > 0 ? (size_t)got : 0, cut)
                                  : (size_t)(got > 0 ? got : 0);
    for (size_t sent = 0; sent < passed;) {
        const ssize_t put = write(to, buffer + sent, passed - sent);
        if (put <= 0)
            return 0;
        sent += (size_t)put;
    }
    return got > 0 && passed == (size_t)got;
}

static void Relay(int client, int server, long cut)
{
    struct Framing framing = {{0}, 0, 0, 0};
    struct pollfd ends[2] = {{client, POLLIN, 0}, {server, POLLIN, 0}};
    while (framing.messages < cut && poll(ends, 2, -1) > 0) {
        if (ends[0].revents && !Pass(client, server, NULL, 0))
            break;
        if (ends[1].revents && !Pass(server, client, &framing, cut))
            break;
    }
    close(client);
    close(server);
    printf("%ld\n", framing.messages);
}

int main(int argc, char** argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: x_cut_proxy SERVER_DISPLAY_NUMBER MESSAGES\n");
        return 2;
    }
    prctl(PR_SET_PDEATHSIG, SIGTERM); /* never outlive a test that crashed before its client came */
    const int listener = socket(AF_UNIX, SOCK_STREAM, 0);
    int number = FIRST_DISPLAY;
    while (number <= LAST_DISPLAY && !TakeDisplay(number, listener))
        ++number;
    if (number > LAST_DISPLAY)
        return 1;
    printf("%d\n", number);
    fflush(stdout);
    const int client = accept(listener, NULL, NULL);
    close(listener);
    const int server = ConnectToServer(atoi(argv[1]));
    if (client >= 0 && server >= 0)
        Relay(client, server, atol(argv[2]));
    unlink(lockPath);
    return 0;
}
