#include "tests/components/vesplin/DecodedMp3.h"

#include <cstring>
#include <memory>
#include <mpg123.h>

namespace vesplintest {

namespace {

struct HandleCloser {
    void operator()(mpg123_handle* handle) const {
        mpg123_close(handle);
        mpg123_delete(handle);
    }
};

std::string Text(const mpg123_string* text) {
    return (text == nullptr || text->p == nullptr || text->fill == 0)
               ? std::string()
               : std::string(text->p, strnlen(text->p, text->fill));
}

void ReadTags(mpg123_handle* handle, DecodedMp3& result) {
    if ((mpg123_meta_check(handle) & MPG123_ID3) == 0) {
        return;
    }
    mpg123_id3v1* v1 = nullptr;
    mpg123_id3v2* v2 = nullptr;
    if (mpg123_id3(handle, &v1, &v2) != MPG123_OK || v2 == nullptr) {
        return;
    }
    result.hasId3v2 = true;
    result.title = Text(v2->title);
    for (std::size_t i = 0; i < v2->texts; ++i) {
        if (std::memcmp(v2->text[i].id, "TRCK", 4) == 0) {
            result.track = Text(&v2->text[i].text);
        }
    }
}

} // namespace

DecodedMp3 DecodeMp3(const std::string& path) {
    DecodedMp3 result;
    int error = MPG123_OK;
    const std::unique_ptr<mpg123_handle, HandleCloser> handle(mpg123_new(nullptr, &error));
    if (!handle) {
        return result;
    }
    mpg123_param(handle.get(), MPG123_ADD_FLAGS, MPG123_QUIET | MPG123_GAPLESS, 0.0);
    mpg123_format_none(handle.get());
    mpg123_format(handle.get(), 44100, MPG123_STEREO | MPG123_MONO, MPG123_ENC_SIGNED_16);
    if (mpg123_open(handle.get(), path.c_str()) != MPG123_OK) {
        return result;
    }
    std::vector<unsigned char> buffer(65536);
    for (;;) {
        std::size_t done = 0;
        const int status = mpg123_read(handle.get(), buffer.data(), buffer.size(), &done);
        if (done >= 2) {
            const std::size_t before = result.pcm.size();
            result.pcm.resize(before + done / 2);
            std::memcpy(result.pcm.data() + before, buffer.data(), done - done % 2);
        }
        if (status == MPG123_DONE) {
            break;
        }
        if (status != MPG123_OK && status != MPG123_NEW_FORMAT) {
            return result;
        }
    }
    int encoding = 0;
    mpg123_getformat(handle.get(), &result.rateHz, &result.channels, &encoding);
    mpg123_frameinfo info{};
    if (mpg123_info(handle.get(), &info) == MPG123_OK) {
        result.variableBitRate = info.vbr != MPG123_CBR;
    }
    ReadTags(handle.get(), result);
    result.decoded = true;
    return result;
}

} // namespace vesplintest
