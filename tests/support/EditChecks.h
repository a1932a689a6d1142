// What a host must see when the user moves one control of the editor: a begin and an end edit
// for that parameter only, automation of that parameter alone between them, the last automated
// value the one the plug-in holds, and every other parameter as it was. Shared by the editor's
// window tests on X11 and on Windows, which drive the same module through different desktops.
#pragma once

#include "tools/host/PluginInstance.h"
#include "tools/host/ScriptedHost.h"

#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <vector>

namespace velmora::testing {

inline constexpr int kAutomatableParameters = 60;
using ParameterValues = std::array<float, kAutomatableParameters>;

inline ParameterValues allParameters(host::PluginInstance& plugin) {
    ParameterValues values{};
    for (int i = 0; i < kAutomatableParameters; ++i)
        values[std::size_t(i)] = plugin.getParameter(i);
    return values;
}

inline void expectOneEditOf(VstInt32 index, const host::ScriptedHost& host,
                            host::PluginInstance& plugin, const ParameterValues& before) {
    EXPECT_EQ(host.beginEdits(), std::vector<VstInt32>{index});
    EXPECT_EQ(host.endEdits(), std::vector<VstInt32>{index});
    const auto automations = host.automations();
    ASSERT_FALSE(automations.empty());
    for (const host::AutomateCall& call : automations)
        EXPECT_EQ(call.index, index);
    EXPECT_NEAR(automations.back().value, plugin.getParameter(index), 1e-6);

    std::vector<VstInt32> order;
    for (const host::CallbackRecord& call : host.calls())
        if (call.opcode == audioMasterBeginEdit || call.opcode == audioMasterAutomate ||
            call.opcode == audioMasterEndEdit)
            order.push_back(call.opcode);
    EXPECT_EQ(order.front(), audioMasterBeginEdit) << "automation before the edit began";
    EXPECT_EQ(order.back(), audioMasterEndEdit) << "automation after the edit ended";

    const ParameterValues after = allParameters(plugin);
    for (int i = 0; i < kAutomatableParameters; ++i) {
        if (i != index) {
            EXPECT_EQ(after[std::size_t(i)], before[std::size_t(i)]) << "index " << i;
        }
    }
}

} // namespace velmora::testing
