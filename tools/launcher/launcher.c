/* SPDX-FileCopyrightText: 2026 The Nesdrix developers
 *
 * SPDX-License-Identifier: Apache-2.0
 */

/* The one file of Nesdrix that holds cap_net_bind_service. It binds UDP port 102,
 * drops every capability, forbids regaining any, and executes the window program
 * or nesdrix-cli with the socket as descriptor 3 (LISTEN_FDS=1, LISTEN_PID = this
 * process, which execv keeps). It reads nothing from the environment: the Qt
 * programs, which load plugins that the environment names, never hold a privilege.
 *
 * One file rather than two, so that exactly one file carries the capability:
 * /usr/bin/nesdrix-cli is a link to it and its name picks the CLI. A caller can set
 * argv[0] freely, but it only chooses between two fixed programs that the caller
 * may run anyway. */
#include <errno.h>
#include <linux/capability.h>
#include <netinet/in.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <unistd.h>

/* Returns the bound socket as descriptor 3, or -1 with errno set. */
static int bind_device_port(void)
{
    const int on = 1;
    struct sockaddr_in address = { .sin_family = AF_INET, .sin_port = htons(102),
        .sin_addr.s_addr = htonl(INADDR_ANY) };
    int fd = socket(AF_INET, SOCK_DGRAM, 0);
    if (fd < 0)
        return -1;
    if (setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof on) != 0
        || bind(fd, (const struct sockaddr *)&address, sizeof address) != 0
        || (fd != 3 && dup2(fd, 3) != 3)) {
        const int error = errno;
        close(fd);
        errno = error;
        return -1;
    }
    if (fd != 3)
        close(fd);
    return 3;
}

static int drop_privileges(void)
{
    struct __user_cap_header_struct header = { _LINUX_CAPABILITY_VERSION_3, 0 };
    struct __user_cap_data_struct none[_LINUX_CAPABILITY_U32S_3];
    memset(none, 0, sizeof none);
    if (prctl(PR_CAP_AMBIENT, PR_CAP_AMBIENT_CLEAR_ALL, 0, 0, 0) != 0)
        return -1;
    if (syscall(SYS_capset, &header, none) != 0)
        return -1;
    return prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0);
}

int main(int argc, char *argv[])
{
    if (argc < 1)
        return 127;
    const char *slash = strrchr(argv[0], '/');
    const char *name = slash ? slash + 1 : argv[0];
    const char *program = strcmp(name, "nesdrix-cli") == 0 ? NESDRIX_CLI_PATH : NESDRIX_WINDOW_PATH;

    char pid[24];
    snprintf(pid, sizeof pid, "%ld", (long)getpid());
    unsetenv("LISTEN_FDNAMES");
    if (bind_device_port() == 3) {
        setenv("LISTEN_FDS", "1", 1);
    } else {
        /* The program binds itself and fails without the privilege; this
         * reason, not its own, says what is wrong. */
        char error[24];
        snprintf(error, sizeof error, "%d", errno);
        unsetenv("LISTEN_FDS");
        setenv("NESDRIX_BIND_ERRNO", error, 1);
    }
    setenv("LISTEN_PID", pid, 1);

    if (drop_privileges() != 0) {
        perror("nesdrix: could not drop privileges");
        return 127;
    }
    argv[0] = (char *)program;
    execv(program, argv);
    fprintf(stderr, "nesdrix: cannot start %s: %s\n", program, strerror(errno));
    return 127;
}
