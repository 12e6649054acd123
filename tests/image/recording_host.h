#pragma once

// A host for generator tests: records what a generator hands it, draws one polyline for each object
// image, and picks the entity it is told to.
#include "qor/gdx/gdx.h"
#include "qor/kernel/data/data_item.h"
#include "qor/kernel/host/host_app.h"

class RecordingHost final : public CQorApp {
public:
    std::uint32_t imageBkColor() override { return 0xFFFFFF; }
    Qor::lFormat lengthFormat() override { return Qor::kFormatDecimal; }
    Qor::lUnit drawingUnit() override { return Qor::kUnitMillimeter; }
    CQorString msgBoxTitle() override { return L"test"; }
    bool patternGet(const wchar_t*, CQorArrayTempl<CQorArrayTempl<double>>&) override { return false; }
    bool objectImage(CQorGDX* gdx, const CQorDataItem* object, const CQorDataItem* parm) override {
        ++calls;
        this->object = object;
        if (object != nullptr) objectCopy = *object;
        if (parm != nullptr) this->parm = *parm;
        CQorVertexArray line;
        line.append(CQorVertex({0, 0, 0}, {1, 0, 0}));
        gdx->imageVl({9}, 0, line, CQorColor(), CQorMatrix3d(), {1.0}, 1.0, 0, CQorPoint3d::kOrigin);
        return false; // the generators do not use the answer
    }
    bool entitySelect(QOR::CAdsName& entity, const wchar_t* kind, bool flag) override {
        ++selections;
        selectedKind = kind != nullptr ? kind : L"";
        selectFlag = flag;
        if (!pick) return false;
        entity = *pick;
        return true;
    }
    int callFunction(const wchar_t*, const resbuf*, resbuf*& result) override {
        result = nullptr;
        return -5001;
    }

    int calls = 0;
    const CQorDataItem* object = nullptr;
    CQorDataItem objectCopy; ///< the object as it was handed over
    CQorDataItem parm;
    const QOR::CAdsName* pick = nullptr; ///< what entitySelect answers; none when null
    int selections = 0;
    CQorString selectedKind;
    bool selectFlag = false;
};
