// The functions of the C library that the preload library stands in for: a
// program opening, examining or closing the served device node, or sending
// ioctls to it, reaches the served drive; every other file goes to the C
// library as usual.
#include "tools/preload/NodeIoctls.h"
#include "tools/preload/ServedNode.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>

namespace {

template <typename Function> Function Next(const char* name) {
    return reinterpret_cast<Function>(::dlsym(RTLD_NEXT, name));
}

template <typename Stat> int DescribeNode(Stat* info) {
    struct stat node {};
    preload::ServedNode::Describe(node);
    *info = {};
    info->st_mode = node.st_mode;
    info->st_rdev = node.st_rdev;
    info->st_nlink = node.st_nlink;
    info->st_uid = node.st_uid;
    info->st_gid = node.st_gid;
    info->st_blksize = node.st_blksize;
    return 0;
}

mode_t ModeOf(int flags, va_list arguments) {
    return (flags & (O_CREAT | O_TMPFILE)) != 0 ? static_cast<mode_t>(va_arg(arguments, int)) : 0;
}

} // namespace

extern "C" {

int open(const char* path, int flags, ...) {
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = ModeOf(flags, arguments);
    va_end(arguments);
    if (preload::ServedNode::Is(path)) {
        return preload::ServedNode::Connect();
    }
    static const auto next = Next<int (*)(const char*, int, ...)>("open");
    return next(path, flags, mode);
}

int open64(const char* path, int flags, ...) {
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = ModeOf(flags, arguments);
    va_end(arguments);
    if (preload::ServedNode::Is(path)) {
        return preload::ServedNode::Connect();
    }
    static const auto next = Next<int (*)(const char*, int, ...)>("open64");
    return next(path, flags, mode);
}

int openat(int folder, const char* path, int flags, ...) {
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = ModeOf(flags, arguments);
    va_end(arguments);
    if (preload::ServedNode::Is(path)) {
        return preload::ServedNode::Connect();
    }
    static const auto next = Next<int (*)(int, const char*, int, ...)>("openat");
    return next(folder, path, flags, mode);
}

int openat64(int folder, const char* path, int flags, ...) {
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = ModeOf(flags, arguments);
    va_end(arguments);
    if (preload::ServedNode::Is(path)) {
        return preload::ServedNode::Connect();
    }
    static const auto next = Next<int (*)(int, const char*, int, ...)>("openat64");
    return next(folder, path, flags, mode);
}

int close(int fd) {
    preload::ServedNode::Forget(fd);
    static const auto next = Next<int (*)(int)>("close");
    return next(fd);
}

int ioctl(int fd, unsigned long request, ...) {
    va_list arguments;
    va_start(arguments, request);
    void* argument = va_arg(arguments, void*);
    va_end(arguments);
    if (preload::ServedNode::Owns(fd)) {
        return preload::NodeIoctl(fd, request, argument);
    }
    static const auto next = Next<int (*)(int, unsigned long, ...)>("ioctl");
    return next(fd, request, argument);
}

int stat(const char* path, struct stat* info) {
    if (preload::ServedNode::Is(path)) {
        return DescribeNode(info);
    }
    static const auto next = Next<int (*)(const char*, struct stat*)>("stat");
    return next(path, info);
}

int stat64(const char* path, struct stat64* info) {
    if (preload::ServedNode::Is(path)) {
        return DescribeNode(info);
    }
    static const auto next = Next<int (*)(const char*, struct stat64*)>("stat64");
    return next(path, info);
}

int lstat(const char* path, struct stat* info) {
    if (preload::ServedNode::Is(path)) {
        return DescribeNode(info);
    }
    static const auto next = Next<int (*)(const char*, struct stat*)>("lstat");
    return next(path, info);
}

int lstat64(const char* path, struct stat64* info) {
    if (preload::ServedNode::Is(path)) {
        return DescribeNode(info);
    }
    static const auto next = Next<int (*)(const char*, struct stat64*)>("lstat64");
    return next(path, info);
}

int fstat(int fd, struct stat* info) {
    if (preload::ServedNode::Owns(fd)) {
        return DescribeNode(info);
    }
    static const auto next = Next<int (*)(int, struct stat*)>("fstat");
    return next(fd, info);
}

int fstat64(int fd, struct stat64* info) {
    if (preload::ServedNode::Owns(fd)) {
        return DescribeNode(info);
    }
    static const auto next = Next<int (*)(int, struct stat64*)>("fstat64");
    return next(fd, info);
}

// Programs built against C libraries before 2.33 reach stat through these,
// and _FORTIFY_SOURCE builds open through the checked opens: the C library's
// own names, reserved to it.
// NOLINTBEGIN(bugprone-reserved-identifier)
int __xstat(int version, const char* path, struct stat* info) {
    if (preload::ServedNode::Is(path)) {
        return DescribeNode(info);
    }
    static const auto next = Next<int (*)(int, const char*, struct stat*)>("__xstat");
    return next(version, path, info);
}

int __xstat64(int version, const char* path, struct stat64* info) {
    if (preload::ServedNode::Is(path)) {
        return DescribeNode(info);
    }
    static const auto next = Next<int (*)(int, const char*, struct stat64*)>("__xstat64");
    return next(version, path, info);
}

int __lxstat(int version, const char* path, struct stat* info) {
    if (preload::ServedNode::Is(path)) {
        return DescribeNode(info);
    }
    static const auto next = Next<int (*)(int, const char*, struct stat*)>("__lxstat");
    return next(version, path, info);
}

int __lxstat64(int version, const char* path, struct stat64* info) {
    if (preload::ServedNode::Is(path)) {
        return DescribeNode(info);
    }
    static const auto next = Next<int (*)(int, const char*, struct stat64*)>("__lxstat64");
    return next(version, path, info);
}

int __fxstat(int version, int fd, struct stat* info) {
    if (preload::ServedNode::Owns(fd)) {
        return DescribeNode(info);
    }
    static const auto next = Next<int (*)(int, int, struct stat*)>("__fxstat");
    return next(version, fd, info);
}

int __fxstat64(int version, int fd, struct stat64* info) {
    if (preload::ServedNode::Owns(fd)) {
        return DescribeNode(info);
    }
    static const auto next = Next<int (*)(int, int, struct stat64*)>("__fxstat64");
    return next(version, fd, info);
}

int __open_2(const char* path, int flags) {
    if (preload::ServedNode::Is(path)) {
        return preload::ServedNode::Connect();
    }
    static const auto next = Next<int (*)(const char*, int)>("__open_2");
    return next(path, flags);
}

int __open64_2(const char* path, int flags) {
    if (preload::ServedNode::Is(path)) {
        return preload::ServedNode::Connect();
    }
    static const auto next = Next<int (*)(const char*, int)>("__open64_2");
    return next(path, flags);
}

// NOLINTEND(bugprone-reserved-identifier)

int access(const char* path, int mode) {
    if (preload::ServedNode::Is(path)) {
        return 0;
    }
    static const auto next = Next<int (*)(const char*, int)>("access");
    return next(path, mode);
}

} // extern "C"
