/* A weston module for the Wayland end-to-end test: weston's headless back-end has no input
 * devices at all (and SDL will not start its Wayland driver without a seat), so this gives the
 * compositor a seat with a keyboard, whose keys the test types through a FIFO named by
 * VORNE_WESTON_KEYS: lines "down CODE" and "up CODE" with Linux input key codes (1 = Esc,
 * 44 = Z, 88 = F12). The key goes to whatever window has the keyboard focus, as a real keyboard's
 * would.
 *
 * The seat functions are libweston's own (exported, but declared only in its private backend
 * header), declared here as libweston 10 has them. */
#include <libweston/libweston.h>
#include <wayland-server.h>

#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

void weston_seat_init(struct weston_seat* seat, struct weston_compositor* ec, const char* seat_name);
int weston_seat_init_keyboard(struct weston_seat* seat, struct xkb_keymap* keymap);
void notify_key(struct weston_seat* seat, const struct timespec* time, uint32_t key, enum wl_keyboard_key_state state,
                enum weston_key_state_update update_state);

static struct weston_seat seat;
static char pending[256];
static size_t used;

static int on_keys(int fd, uint32_t mask, void* data) {
    (void)mask;
    (void)data;
    ssize_t got = read(fd, pending + used, sizeof pending - 1 - used);
    if (got <= 0) return 0;
    used += (size_t)got;
    char* end;
    while ((end = memchr(pending, '\n', used)) != NULL) {
        *end = '\0';
        char what[8];
        unsigned code;
        if (sscanf(pending, "%7s %u", what, &code) == 2) {
            struct timespec now;
            clock_gettime(CLOCK_MONOTONIC, &now);
            notify_key(&seat, &now, code,
                       strcmp(what, "down") == 0 ? WL_KEYBOARD_KEY_STATE_PRESSED : WL_KEYBOARD_KEY_STATE_RELEASED,
                       STATE_UPDATE_AUTOMATIC);
        }
        size_t rest = used - (size_t)(end + 1 - pending);
        memmove(pending, end + 1, rest);
        used = rest;
    }
    if (used == sizeof pending - 1) used = 0; /* a line too long for anyone: dropped */
    return 0;
}

WL_EXPORT int wet_module_init(struct weston_compositor* compositor, int* argc, char* argv[]) {
    (void)argc;
    (void)argv;
    weston_seat_init(&seat, compositor, "default");
    if (weston_seat_init_keyboard(&seat, NULL) < 0) return -1;
    const char* path = getenv("VORNE_WESTON_KEYS");
    if (!path) return 0;
    /* Opened for writing too, so the FIFO never reads as ended between the test's writes. */
    int fd = open(path, O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return -1;
    wl_event_loop_add_fd(wl_display_get_event_loop(compositor->wl_display), fd, WL_EVENT_READABLE, on_keys, NULL);
    return 0;
}
