// libuserdata.so: the HotSync home and its users, read from the home's users list at each call.
#include "api/user_data.h"

#include "hotsync/c_boundary.h"
#include "hotsync/hotsync_home.h"
#include "hotsync/users_store.h"

namespace {

constexpr std::string_view kLibrary = "libuserdata.so";
constexpr int32_t kFailed = -1;
constexpr int32_t kBufferTooSmall = -2;

}  // namespace

PALM_API int32_t UmGetRootDirectory(char* buffer, int32_t* size) {
  return GuardedCall(kLibrary, kFailed,
                     [&] { return CopyTextToBuffer(HotSyncHome(), buffer, size) ? 0 : kBufferTooSmall; });
}

PALM_API int32_t UmGetUserCount(void) {
  return GuardedCall(kLibrary, 0, [] { return static_cast<int32_t>(LoadUsers(HotSyncHome()).size()); });
}

PALM_API int32_t UmGetUserID(int32_t index, uint32_t* user_id) {
  return GuardedCall(kLibrary, kFailed, [&] {
    const auto users = LoadUsers(HotSyncHome());
    if (user_id == nullptr || index < 0 || static_cast<size_t>(index) >= users.size()) return kFailed;
    *user_id = users[index].Id;
    return 0;
  });
}

PALM_API int32_t UmGetUserDirectory(uint32_t user_id, char* buffer, int32_t* size) {
  return GuardedCall(kLibrary, kFailed, [&] {
    const auto users = LoadUsers(HotSyncHome());
    const THotSyncUser* user = FindUserById(users, user_id);
    if (user == nullptr) return kFailed;
    return CopyTextToBuffer(user->Directory, buffer, size) ? 0 : kBufferTooSmall;
  });
}
