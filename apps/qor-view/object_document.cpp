#include "object_document.h"

#include <wx/filename.h>

#include "qor/gdx/gdx.h"
#include "qor/image/registry.h"
#include "qor/kernel/data/data_item.h"
#include "qor/objlib/object_file.h"
#include "qor/objlib/view_dir.h"
#include "shared/generators.h"

bool ObjectDocument::isObjectFile(const wxString& path) {
    QOR::CDtaFilePointer object =
        QOR::dtaOpen(QOR::kDtaFile, QOR::kDtaRead, path.ToStdWstring().c_str(), nullptr);
    CQorString kind;
    return object.get() && object.get()->get(kind, L"KIND");
}

bool ObjectDocument::open(const wxString& path, wxString& why) {
    m_name = wxFileName(path).GetFullName();
    const std::wstring wide = path.ToStdWstring();
    QOR::CDtaFilePointer object;
    CQorString message;
    if (QOR::objOpen(wide.c_str(), QOR::kDtaRead | QOR::kDtaWrite, object, &message)) {
        m_object = std::move(object);
        return true;
    }
    // objOpen refuses a kind it has no schema for; a generator chosen by the user may still draw it.
    object = QOR::dtaOpen(QOR::kDtaFile, QOR::kDtaRead | QOR::kDtaWrite, wide.c_str(), nullptr);
    CQorString kind;
    if (!object.get() || !object.get()->get(kind, L"KIND") || isKnownGenerator(kind.c_str())) {
        why = wxString::FromUTF8(message.toUtf8().c_str());
        return false;
    }
    m_object = std::move(object);
    return true;
}

std::wstring ObjectDocument::generatorOfKind() {
    CQorString kind;
    const CQorDataItem* root = m_object.get();
    if (!root || !root->get(kind, L"KIND") || !isKnownGenerator(kind.c_str())) return {};
    return std::wstring(kind.view());
}

bool ObjectDocument::draw(const std::wstring& generator, std::optional<ViewDirection> view, CQorGDX& gdx,
                          wxString& why) {
    if (!isKnownGenerator(generator.c_str())) {
        why = wxString::Format("unknown generator '%s' (known: %s)", generator, knownGeneratorNames());
        return false;
    }
    CQorDataItem options;
    if (view && generator == L"DRILL") {
        if (CQorDataItem* root = m_object.get()) root->set(normViewOf(*view), L"VIEW");
    } else if (view && generator == L"HOLE") {
        options.set(QOR::g_mtx_view_dir(objectViewName(*view), CQorPoint3d::kOrigin).inverse(), L"MTX");
    }
    QOR::CDtaFilePointer optionSet = QOR::dtaOpen(QOR::kDtaScratch, QOR::kDtaRead, nullptr, &options);
    CQorGDX drawn;
    if (!qor_gdx_image(generator.c_str(), &drawn, &m_object, &optionSet) || drawn.lenGet() == 0) {
        why = wxString::Format("the generator %s cannot draw %s", generator, m_name);
        return false;
    }
    if (view && generator != L"DRILL" && generator != L"HOLE") drawn.viewDirectionSet(listViewName(*view));
    gdx = std::move(drawn);
    return true;
}
