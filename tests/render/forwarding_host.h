#pragma once

// A host that answers every question as the default host does. A test derives from it, overrides what it
// probes (a pattern look-up that throws or counts, say) and installs it for a scope with HostInstalled.

#include "qor/kernel/host/host_app.h"

class ForwardingHost : public CQorApp {
public:
    std::uint32_t imageBkColor() override { return m_default.imageBkColor(); }
    Qor::lFormat lengthFormat() override { return m_default.lengthFormat(); }
    Qor::lUnit drawingUnit() override { return m_default.drawingUnit(); }
    CQorString msgBoxTitle() override { return m_default.msgBoxTitle(); }
    bool patternGet(const wchar_t* name, CQorArrayTempl<CQorArrayTempl<double>>& def) override {
        return m_default.patternGet(name, def);
    }
    bool objectImage(CQorGDX* gdx, const CQorDataItem* object, const CQorDataItem* parm) override {
        return m_default.objectImage(gdx, object, parm);
    }
    bool entitySelect(QOR::CAdsName& entity, const wchar_t* kind, bool flag) override {
        return m_default.entitySelect(entity, kind, flag);
    }
    int callFunction(const wchar_t* name, const resbuf* args, resbuf*& result) override {
        return m_default.callFunction(name, args, result);
    }

private:
    QOR::CDefaultApp m_default;
};

/// Installs host for the scope, then puts back the host that was installed before.
template <class Host>
struct HostInstalled {
    Host host;
    CQorApp* before = QOR::qorAppSet(&host);
    ~HostInstalled() { QOR::qorAppSet(before == &host ? nullptr : before); }
};
