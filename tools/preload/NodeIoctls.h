#pragma once
// The ioctls programs send to a CD/DVD device node, answered for a served
// node: SG_IO goes to the drive; the SCSI generic driver's queries get the
// answers of a drive on its own host adapter; the CD-ROM driver's requests
// become the MMC commands the kernel would send.

namespace preload {

// The ioctl's result, or -1 with errno set.
int NodeIoctl(int fd, unsigned long request, void* argument);

} // namespace preload
