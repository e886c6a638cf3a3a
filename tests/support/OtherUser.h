#pragma once

#include <QByteArray>
#include <functional>
#include <grp.h>
#include <optional>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

// The user "nobody", for what root cannot show: root may write into any
// folder, so a folder that refuses is seen only by another user.
struct OtherUser {
    uid_t uid = 0;
    gid_t gid = 0;

    static std::optional<OtherUser> nobody()
    {
        const passwd *entry = ::getpwnam("nobody");
        if (!entry)
            return std::nullopt;
        return OtherUser{entry->pw_uid, entry->pw_gid};
    }

    // Runs `work` as this user, with `groups` as its supplementary groups, in
    // a child process, and gives back the bytes it returns; nullopt when the
    // process cannot change user (not root) or the child fails.
    std::optional<QByteArray> run(const std::function<QByteArray()> &work,
                                  const std::vector<gid_t> &groups = {}) const
    {
        int pipe[2];
        if (::geteuid() != 0 || ::pipe(pipe) != 0)
            return std::nullopt;
        const pid_t child = ::fork();
        if (child == 0) {
            ::close(pipe[0]);
            if (::setgroups(groups.size(), groups.data()) != 0 || ::setgid(gid) != 0 ||
                ::setuid(uid) != 0)
                ::_exit(2);
            const QByteArray result = work();
            for (qsizetype done = 0; done < result.size();) {
                const ssize_t written =
                    ::write(pipe[1], result.constData() + done, size_t(result.size() - done));
                if (written <= 0)
                    ::_exit(3);
                done += written;
            }
            ::_exit(0);
        }
        ::close(pipe[1]);
        QByteArray result;
        char buffer[4096];
        for (ssize_t got; (got = ::read(pipe[0], buffer, sizeof buffer)) > 0;)
            result.append(buffer, got);
        ::close(pipe[0]);
        int status = 0;
        if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
            WEXITSTATUS(status) != 0)
            return std::nullopt;
        return result;
    }
};
