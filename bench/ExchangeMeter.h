#pragma once
#include "sim/SimInstrument.h"
#include <QElapsedTimer>
#include <benchmark/benchmark.h>

// Wall time of the link's exchanges with the simulator, beside the wire limit: the time the
// bytes exchanged (both ways) take on the serial line at 921600 baud, 10 bits per byte.
// A pseudo-terminal has no baud rate, so wall_to_wire says how far the program and the
// in-process simulator stay below (< 1) or above (> 1) what the line itself allows.
class ExchangeMeter
{
public:
    static constexpr double kBaud = 921600.0;
    explicit ExchangeMeter(const SimInstrument &sim) : m_sim(sim) {}
    void start()
    {
        m_requests = m_sim.requestCount();
        m_bytes = m_sim.bytesReceived() + m_sim.bytesSent();
        m_wall.start();
    }
    // Sets the counters for everything since start().
    void report(benchmark::State &state) const
    {
        const double wallS = double(m_wall.nsecsElapsed()) / 1e9;
        const double exchanges = double(m_sim.requestCount() - m_requests);
        const double bytes = double(m_sim.bytesReceived() + m_sim.bytesSent() - m_bytes);
        const double wireS = bytes * 10.0 / kBaud;
        if (exchanges <= 0 || wireS <= 0)
            return;
        state.counters["exchanges"] = exchanges / double(state.iterations());
        state.counters["bytes"] = bytes / double(state.iterations());
        state.counters["wall_us_per_exchange"] = wallS * 1e6 / exchanges;
        state.counters["wire_us_per_exchange"] = wireS * 1e6 / exchanges;
        state.counters["wall_to_wire"] = wallS / wireS;
    }

private:
    const SimInstrument &m_sim;
    QElapsedTimer m_wall;
    quint64 m_requests = 0;
    quint64 m_bytes = 0;
};
