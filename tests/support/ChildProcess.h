#pragma once
// Runs a piece of a test in a forked child: as an ordinary user (file modes
// apply to it even when the tests run as root), or under limits that kill it.
#include <functional>
#include <sys/types.h>

namespace lxtest {

// The user an ordinary child runs as: "nobody" when the tests run as root,
// otherwise the user running them.
uid_t OrdinaryUid();
gid_t OrdinaryGid();

// Runs body in a forked child with the ids above and returns its result
// (0 for success), or -1 when the child could not take the ids or died.
int RunAsOrdinaryUser(const std::function<int()>& body);

// Runs body in a forked child; true when the child ended by a signal.
bool KilledBySignal(const std::function<void()>& body);

} // namespace lxtest
