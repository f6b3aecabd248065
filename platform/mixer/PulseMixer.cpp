#include "platform/mixer/PulseMixer.h"

#include "platform/mixer/MuxSelection.h"
#include "platform/mixer/PulseCaptureChoice.h"

#include <algorithm>
#include <string>
#include <unistd.h>

#include <pulse/proplist.h>
#include <pulse/volume.h>

namespace platform::mixer {

namespace {

PulseSourceInfo toSourceInfo(const pa_source_info& info) {
    PulseSourceInfo source;
    source.index = info.index;
    source.name = info.name != nullptr ? info.name : "";
    source.description = info.description != nullptr ? info.description : "";
    source.isMonitor = info.monitor_of_sink != PA_INVALID_INDEX;
    const char* formFactor = pa_proplist_gets(info.proplist, PA_PROP_DEVICE_FORM_FACTOR);
    source.formFactor = formFactor != nullptr ? formFactor : "";
    source.channels = info.volume.channels;
    source.volume.assign(info.volume.values, info.volume.values + info.volume.channels);
    for (std::uint32_t i = 0; i < info.n_ports; ++i) {
        const pa_source_port_info& port = *info.ports[i];
        source.ports.push_back({port.name != nullptr ? port.name : "",
                                port.description != nullptr ? port.description : "",
                                static_cast<int>(port.type)});
    }
    if (info.active_port != nullptr && info.active_port->name != nullptr) {
        source.activePort = info.active_port->name;
    }
    return source;
}

struct SourceRequest {
    PulseConnection* connection = nullptr;
    std::vector<PulseSourceInfo> sources;
    bool finished = false;
    bool failed = false;
};

void onSourceListed(pa_context* /*context*/, const pa_source_info* info, int last, void* data) {
    auto* request = static_cast<SourceRequest*>(data);
    if (last == 0 && info != nullptr) {
        request->sources.push_back(toSourceInfo(*info));
        return;
    }
    request->failed = last < 0;
    request->finished = true;
    request->connection->Wake();
}

struct ServerRequest {
    PulseConnection* connection = nullptr;
    std::string defaultSource;
    bool finished = false;
};

void onServerRead(pa_context* /*context*/, const pa_server_info* info, void* data) {
    auto* request = static_cast<ServerRequest*>(data);
    if (info != nullptr && info->default_source_name != nullptr) {
        request->defaultSource = info->default_source_name;
    }
    request->finished = true;
    request->connection->Wake();
}

bool IsOwnOutput(const pa_source_output_info& info) {
    const char* process = pa_proplist_gets(info.proplist, PA_PROP_APPLICATION_PROCESS_ID);
    return process != nullptr && std::to_string(::getpid()) == process;
}

// The source outputs (capture streams) of this process.
struct OutputRequest {
    PulseConnection* connection = nullptr;
    std::vector<std::uint32_t> ownOutputs;
    bool finished = false;
};

void OnSourceOutputListed(pa_context* /*context*/, const pa_source_output_info* info, int last,
                          void* data) {
    auto* request = static_cast<OutputRequest*>(data);
    if (last == 0 && info != nullptr) {
        if (IsOwnOutput(*info)) {
            request->ownOutputs.push_back(info->index);
        }
        return;
    }
    request->finished = true;
    request->connection->Wake();
}

struct SuccessRequest {
    PulseConnection* connection = nullptr;
    bool finished = false;
    bool succeeded = false;
};

void onSuccess(pa_context* /*context*/, int success, void* data) {
    auto* request = static_cast<SuccessRequest*>(data);
    request->succeeded = success != 0;
    request->finished = true;
    request->connection->Wake();
}

} // namespace

std::unique_ptr<PulseMixer> PulseMixer::Open() {
    std::unique_ptr<PulseConnection> connection = PulseConnection::Connect();
    if (!connection) {
        return nullptr;
    }
    return std::unique_ptr<PulseMixer>(new PulseMixer(std::move(connection)));
}

PulseMixer::PulseMixer(std::unique_ptr<PulseConnection> connection)
    : m_connection(std::move(connection)) {}

// The connection is closed first: after that no event callback can reach the listener.
PulseMixer::~PulseMixer() {
    m_connection.reset();
}

bool PulseMixer::ListSources(std::vector<PulseSourceInfo>& sources) {
    SourceRequest request;
    request.connection = m_connection.get();
    pa_operation* operation =
        pa_context_get_source_info_list(m_connection->Context(), &onSourceListed, &request);
    if (!m_connection->Complete(operation, request.finished) || request.failed) {
        return false;
    }
    sources = std::move(request.sources);
    return true;
}

bool PulseMixer::ReadSource(const std::string& name, PulseSourceInfo& source) {
    SourceRequest request;
    request.connection = m_connection.get();
    pa_operation* operation = pa_context_get_source_info_by_name(
        m_connection->Context(), name.c_str(), &onSourceListed, &request);
    if (!m_connection->Complete(operation, request.finished) || request.failed ||
        request.sources.size() != 1) {
        return false;
    }
    source = std::move(request.sources.front());
    return true;
}

bool PulseMixer::ReadDefaultSource(std::string& name) {
    ServerRequest request;
    request.connection = m_connection.get();
    pa_operation* operation =
        pa_context_get_server_info(m_connection->Context(), &onServerRead, &request);
    if (!m_connection->Complete(operation, request.finished)) {
        return false;
    }
    name = request.defaultSource;
    return true;
}

bool PulseMixer::RunSuccessOperation(const SuccessStarter& start) {
    // The request outlives the operation: complete() cancels a late one before returning.
    SuccessRequest request;
    request.connection = m_connection.get();
    pa_operation* operation = start(m_connection->Context(), &onSuccess, &request);
    return m_connection->Complete(operation, request.finished) && request.succeeded;
}

void PulseMixer::Remember(const std::vector<PulseSourceInfo>& sources) {
    m_seen.clear();
    for (const PulseSourceInfo& source : sources) {
        m_seen[source.index] = {source.volume, source.activePort};
    }
}

bool PulseMixer::ReadLayout(MixerLayout& layout) {
    PulseConnection::Lock lock(*m_connection);
    std::vector<PulseSourceInfo> sources;
    if (!ListSources(sources) || !ReadDefaultSource(m_defaultSeen)) {
        return false;
    }
    BuildPulseLayout(sources, layout, m_targets);
    Remember(sources);
    return true;
}

bool PulseMixer::ReadSelection(std::vector<bool>& selected) {
    PulseConnection::Lock lock(*m_connection);
    std::vector<PulseSourceInfo> sources;
    std::string defaultSource;
    if (!ListSources(sources) || !ReadDefaultSource(defaultSource)) {
        return false;
    }
    // The source our capture was moved to while it is there, else the default.
    const std::string chosen = ChosenCaptureSource();
    const bool chosenPresent =
        std::any_of(sources.begin(), sources.end(),
                    [&chosen](const PulseSourceInfo& source) { return source.name == chosen; });
    selected = PulseSelection(m_targets, sources, chosenPresent ? chosen : defaultSource);
    return true;
}

bool PulseMixer::WriteSelection(const std::vector<bool>& selected) {
    const std::optional<std::size_t> chosen = MuxChoice(selected, m_targets.size());
    if (!chosen) {
        return false;
    }
    const PulseLineTarget& target = m_targets[*chosen];
    PulseConnection::Lock lock(*m_connection);
    if (!target.port.empty()) {
        const bool portSet = RunSuccessOperation(
            [&target](pa_context* context, pa_context_success_cb_t done, void* request) {
                return pa_context_set_source_port_by_name(context, target.sourceName.c_str(),
                                                          target.port.c_str(), done, request);
            });
        if (!portSet) {
            return false;
        }
    }
    // Our own capture records the chosen source; the desktop's default, which other
    // programs record from, stays as it is.
    SetChosenCaptureSource(target.sourceName);
    return MoveOwnCaptureStreams(target.sourceName);
}

bool PulseMixer::MoveOwnCaptureStreams(const std::string& sourceName) {
    OutputRequest request;
    request.connection = m_connection.get();
    pa_operation* operation = pa_context_get_source_output_info_list(
        m_connection->Context(), &OnSourceOutputListed, &request);
    if (!m_connection->Complete(operation, request.finished)) {
        return false;
    }
    bool moved = true;
    for (const std::uint32_t output : request.ownOutputs) {
        moved = RunSuccessOperation([output, &sourceName](pa_context* context,
                                                          pa_context_success_cb_t done,
                                                          void* moveRequest) {
                    return pa_context_move_source_output_by_name(
                        context, output, sourceName.c_str(), done, moveRequest);
                }) &&
                moved;
    }
    return moved;
}

bool PulseMixer::ReadVolume(std::size_t line, std::vector<std::uint32_t>& channelValues) {
    if (line >= m_targets.size()) {
        return false;
    }
    PulseConnection::Lock lock(*m_connection);
    PulseSourceInfo source;
    if (!ReadSource(m_targets[line].sourceName, source)) {
        return false;
    }
    channelValues.clear();
    for (const std::uint32_t value : source.volume) {
        channelValues.push_back(MixerVolumeFromPulse(value));
    }
    return true;
}

bool PulseMixer::WriteVolume(std::size_t line, const std::vector<std::uint32_t>& channelValues) {
    if (line >= m_targets.size() || channelValues.empty() ||
        channelValues.size() > PA_CHANNELS_MAX) {
        return false;
    }
    PulseConnection::Lock lock(*m_connection);
    PulseSourceInfo source;
    if (!ReadSource(m_targets[line].sourceName, source) ||
        source.channels != channelValues.size()) {
        return false;
    }
    pa_cvolume volume;
    pa_cvolume_init(&volume);
    volume.channels = static_cast<std::uint8_t>(channelValues.size());
    for (std::size_t c = 0; c < channelValues.size(); ++c) {
        volume.values[c] = PulseVolumeFromMixer(channelValues[c]);
    }
    const std::string& name = m_targets[line].sourceName;
    return RunSuccessOperation([&name, &volume](pa_context* context, pa_context_success_cb_t done,
                                                void* request) {
        return pa_context_set_source_volume_by_name(context, name.c_str(), &volume, done, request);
    });
}

void PulseMixer::WatchChanges(ChangeListener listener) {
    PulseConnection::Lock lock(*m_connection);
    m_listener = std::move(listener);
    pa_context_set_subscribe_callback(m_connection->Context(), &PulseMixer::OnEvent, this);
    // A server that goes away takes every line with it; a watcher opens the mixer again.
    m_connection->WhenLost([this] { m_listener(MixerChange::Lines, -1); });
    RunSuccessOperation([](pa_context* context, pa_context_success_cb_t done, void* request) {
        const auto mask = static_cast<pa_subscription_mask_t>(PA_SUBSCRIPTION_MASK_SOURCE |
                                                              PA_SUBSCRIPTION_MASK_SOURCE_OUTPUT |
                                                              PA_SUBSCRIPTION_MASK_SERVER);
        return pa_context_subscribe(context, mask, done, request);
    });
}

void PulseMixer::OnEvent(pa_context* context, pa_subscription_event_type_t type,
                         std::uint32_t index, void* self) {
    auto* mixer = static_cast<PulseMixer*>(self);
    const unsigned facility = type & PA_SUBSCRIPTION_EVENT_FACILITY_MASK;
    const unsigned kind = type & PA_SUBSCRIPTION_EVENT_TYPE_MASK;
    if (facility == PA_SUBSCRIPTION_EVENT_SERVER) {
        // Whether the default source changed is only known after asking.
        pa_operation* check =
            pa_context_get_server_info(context, &PulseMixer::OnServerChecked, self);
        if (check != nullptr) {
            pa_operation_unref(check);
        }
        return;
    }
    if (facility == PA_SUBSCRIPTION_EVENT_SOURCE_OUTPUT) {
        if (kind == PA_SUBSCRIPTION_EVENT_NEW) {
            // A capture stream opened (ours, opened again after the server restarted,
            // starts on the default source): see whose it is.
            pa_operation* check = pa_context_get_source_output_info(
                context, index, &PulseMixer::OnOutputChecked, self);
            if (check != nullptr) {
                pa_operation_unref(check);
            }
        }
        return;
    }
    if (facility != PA_SUBSCRIPTION_EVENT_SOURCE) {
        return;
    }
    if (kind == PA_SUBSCRIPTION_EVENT_CHANGE) {
        // The server reports a source change for many reasons (it starts or stops running,
        // for one); look at the source to see whether its volume or port changed.
        pa_operation* check =
            pa_context_get_source_info_by_index(context, index, &PulseMixer::OnSourceChecked, self);
        if (check != nullptr) {
            pa_operation_unref(check);
        }
        return;
    }
    if (kind == PA_SUBSCRIPTION_EVENT_REMOVE) {
        mixer->m_seen.erase(index);
    }
    mixer->m_listener(MixerChange::Lines, -1);
}

void PulseMixer::OnSourceChecked(pa_context* /*context*/, const pa_source_info* info, int last,
                                 void* self) {
    if (last != 0 || info == nullptr) {
        return;
    }
    auto* mixer = static_cast<PulseMixer*>(self);
    const PulseSourceInfo source = toSourceInfo(*info);
    SourceSeen& seen = mixer->m_seen[source.index];
    const bool volumeChanged = seen.volume != source.volume;
    const bool portChanged = seen.activePort != source.activePort;
    seen = {source.volume, source.activePort};
    if (volumeChanged) {
        mixer->EmitVolume(source.index);
    }
    if (portChanged && source.name == mixer->m_defaultSeen) {
        mixer->m_listener(MixerChange::Selection, -1);
    }
}

void PulseMixer::OnOutputChecked(pa_context* context, const pa_source_output_info* info, int last,
                                 void* /*self*/) {
    const std::string chosen = ChosenCaptureSource();
    if (last != 0 || info == nullptr || chosen.empty() || !IsOwnOutput(*info)) {
        return;
    }
    // Our capture records the source chosen for it, wherever the server started it.
    pa_operation* move = pa_context_move_source_output_by_name(context, info->index, chosen.c_str(),
                                                               nullptr, nullptr);
    if (move != nullptr) {
        pa_operation_unref(move);
    }
}

void PulseMixer::OnServerChecked(pa_context* /*context*/, const pa_server_info* info, void* self) {
    auto* mixer = static_cast<PulseMixer*>(self);
    if (info == nullptr) {
        return;
    }
    const std::string defaultSource =
        info->default_source_name != nullptr ? info->default_source_name : "";
    if (defaultSource != mixer->m_defaultSeen) {
        mixer->m_defaultSeen = defaultSource;
        mixer->m_listener(MixerChange::Selection, -1);
    }
}

void PulseMixer::EmitVolume(std::uint32_t sourceIndex) {
    for (std::size_t i = 0; i < m_targets.size(); ++i) {
        if (m_targets[i].sourceIndex == sourceIndex) {
            m_listener(MixerChange::Volume, static_cast<int>(i));
        }
    }
}

} // namespace platform::mixer
