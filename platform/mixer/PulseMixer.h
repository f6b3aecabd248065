#pragma once

#include "platform/mixer/MixerBackend.h"
#include "platform/mixer/PulseConnection.h"
#include "platform/mixer/PulseSourceMapping.h"

#include <pulse/introspect.h>
#include <pulse/subscribe.h>

#include <map>
#include <memory>

namespace platform::mixer {

// The sound server's capture sources as a MUX: choosing a line moves this program's own
// capture streams to its source and keeps it as the source they record (for a port line the
// source is switched to that port); the server's default source is left alone. While changes
// are watched, a capture stream of ours that opens (again) is moved to the chosen source.
// Volumes are the sources' volumes; the server's events are the change notifications.
class PulseMixer final : public MixerBackend {
public:
    // Null when no sound server answers.
    static std::unique_ptr<PulseMixer> Open();
    ~PulseMixer() override;
    PulseMixer(const PulseMixer&) = delete;
    PulseMixer& operator=(const PulseMixer&) = delete;

    bool ReadLayout(MixerLayout& layout) override;
    bool ReadSelection(std::vector<bool>& selected) override;
    bool WriteSelection(const std::vector<bool>& selected) override;
    bool ReadVolume(std::size_t line, std::vector<std::uint32_t>& channelValues) override;
    bool WriteVolume(std::size_t line, const std::vector<std::uint32_t>& channelValues) override;
    void WatchChanges(ChangeListener listener) override;

private:
    // What the last look at a source showed, to tell real changes from other events.
    struct SourceSeen {
        std::vector<std::uint32_t> volume;
        std::string activePort;
    };

    explicit PulseMixer(std::unique_ptr<PulseConnection> connection);
    // With the connection locked.
    bool ListSources(std::vector<PulseSourceInfo>& sources);
    bool ReadDefaultSource(std::string& name);
    bool ReadSource(const std::string& name, PulseSourceInfo& source);
    using SuccessStarter =
        std::function<pa_operation*(pa_context*, pa_context_success_cb_t, void*)>;
    bool RunSuccessOperation(const SuccessStarter& start);
    // Moves every capture stream of this process to the source `sourceName`.
    bool MoveOwnCaptureStreams(const std::string& sourceName);
    void Remember(const std::vector<PulseSourceInfo>& sources);

    static void OnEvent(pa_context* context, pa_subscription_event_type_t type, std::uint32_t index,
                        void* self);
    static void OnSourceChecked(pa_context* context, const pa_source_info* info, int last,
                                void* self);
    static void OnOutputChecked(pa_context* context, const pa_source_output_info* info, int last,
                                void* self);
    static void OnServerChecked(pa_context* context, const pa_server_info* info, void* self);
    void EmitVolume(std::uint32_t sourceIndex);

    std::unique_ptr<PulseConnection> m_connection;
    std::vector<PulseLineTarget> m_targets;
    // Touched on the server's loop thread and by callers, always under the connection lock.
    std::map<std::uint32_t, SourceSeen> m_seen;
    std::string m_defaultSeen;
    ChangeListener m_listener;
};

} // namespace platform::mixer
