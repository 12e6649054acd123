#pragma once

// Kernel objects with a linked object, made in the object store for a test and erased after it.
#include <gtest/gtest.h>

#include <vector>

#include "qor/kernel/data/data_item.h"
#include "qor/kernel/data/data_json.h"
#include "qor/kernel/data/dta_file.h"

class LinkedObjects {
public:
    LinkedObjects() = default;
    LinkedObjects(const LinkedObjects&) = delete;
    LinkedObjects& operator=(const LinkedObjects&) = delete;
    ~LinkedObjects() {
        for (const QOR::CAdsName& name : m_names)
            QOR::dtaErase(name);
    }

    /// An object whose root is rootJson, linked to one whose root is linkedJson (no link when null).
    QOR::CDtaFilePointer open(const char* rootJson, const char* linkedJson) {
        const QOR::CAdsName object = create(rootJson);
        if (linkedJson != nullptr) {
            EXPECT_TRUE(QOR::dtaLink(object, create(linkedJson)));
        }
        return QOR::dtaOpen(QOR::kDtaEntity, QOR::kDtaRead | QOR::kDtaWrite, object);
    }

    /// A scratch data set (options) whose root is json.
    static QOR::CDtaFilePointer scratch(const char* json) {
        CQorDataItem root;
        EXPECT_TRUE(QOR::dataFromJson(root, json)) << json;
        return QOR::dtaOpen(QOR::kDtaScratch, QOR::kDtaRead | QOR::kDtaWrite, nullptr, &root);
    }

private:
    QOR::CAdsName create(const char* json) {
        CQorDataItem root;
        EXPECT_TRUE(QOR::dataFromJson(root, json)) << json;
        QOR::CAdsName name;
        EXPECT_TRUE(QOR::dtaCreate(name, &root));
        m_names.push_back(name);
        return name;
    }

    std::vector<QOR::CAdsName> m_names;
};
