#include <gtest/gtest.h>

#include "qor/kernel/base/map_templ.h"
#include "qor/kernel/base/pointers.h"
#include "qor/kernel/base/string.h"

#include <map>
#include <random>
#include <vector>

namespace {

template <class K, class V>
std::vector<K> keysOf(const CQorMapTempl<K, V>& map) {
    std::vector<K> keys;
    for (const auto& [key, value] : map)
        keys.push_back(key);
    return keys;
}

} // namespace

TEST(MapTempl, KeepsAscendingSignedOrderUnderRandomInsertAndRemove) {
    CQorMapTempl<int, int> map;
    std::map<int, int> reference;
    std::mt19937 random(7);
    std::uniform_int_distribution<int> keyOf(-500, 500);
    for (int step = 0; step < 4000; ++step) {
        const int key = keyOf(random);
        if (step % 3 == 2) {
            EXPECT_EQ(map.removeKey(key), reference.erase(key) == 1);
        } else {
            map.set(key, step);
            reference[key] = step;
        }
    }
    ASSERT_EQ(map.len(), int(reference.size()));
    int i = 0;
    for (const auto& [key, value] : reference) {
        const auto* entry = map.entryAt(i++);
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->key, key);
        EXPECT_EQ(entry->value, value);
        EXPECT_EQ(*map.find(key), value);
    }
    EXPECT_EQ(map.find(501), nullptr);
    EXPECT_EQ(map.entryAt(-1), nullptr);
    EXPECT_EQ(map.entryAt(map.len()), nullptr);
}

TEST(MapTempl, ExtremeIntKeysCompareSigned) {
    CQorMapTempl<int, char> map;
    map.set(0x7FFFFFFF, 'c');
    map.set(-2147483647 - 1, 'a');
    map.set(0, 'b');
    EXPECT_EQ(keysOf(map), (std::vector<int>{-2147483647 - 1, 0, 0x7FFFFFFF}));
}

TEST(MapTempl, PointerArrayStartsAt16AndDoubles) {
    CQorMapTempl<int, int> map;
    EXPECT_EQ(map.capacity(), 0);
    map.set(1, 1);
    EXPECT_EQ(map.capacity(), 16);
    for (int key = 2; key <= 16; ++key)
        map.set(key, key);
    EXPECT_EQ(map.capacity(), 16);
    map.set(17, 17);
    EXPECT_EQ(map.capacity(), 32);
    for (int key = 18; key <= 33; ++key)
        map.set(key, key);
    EXPECT_EQ(map.capacity(), 64);
    EXPECT_EQ(map.len(), 33);
    map.set(5, 50); // replacing never grows
    EXPECT_EQ(map.len(), 33);
}

TEST(MapTempl, ValuePointersSurviveOtherInsertionsAndRemovals) {
    CQorMapTempl<int, CQorString> map;
    CQorString* middle = &map.set(500, L"five hundred");
    const int* middleKey = &map.entryAt(0)->key;
    for (int key = 0; key < 1000; ++key)
        if (key != 500) map.set(key, L"x");
    for (int key = 0; key < 1000; key += 2)
        if (key != 500) map.removeKey(key);
    EXPECT_EQ(map.find(500), middle);
    EXPECT_EQ(*middle, L"five hundred");
    EXPECT_EQ(*middleKey, 500);

    // Replacing assigns into the same node.
    EXPECT_EQ(&map.set(500, L"new"), middle);
    EXPECT_EQ(*middle, L"new");
    EXPECT_EQ(&map[500], middle);
}

TEST(MapTempl, RemovalShiftsDown) {
    CQorMapTempl<int, int> map;
    for (int key : {5, 1, 3})
        map.set(key, key * 10);
    EXPECT_TRUE(map.removeAt(0));
    EXPECT_EQ(keysOf(map), (std::vector<int>{3, 5}));
    EXPECT_FALSE(map.removeAt(2));
    EXPECT_FALSE(map.removeAt(-1));
    EXPECT_FALSE(map.removeKey(1));
    EXPECT_EQ(map.indexOf(5), 1);
    EXPECT_EQ(map.indexOf(4), -1);
    map.removeAll();
    EXPECT_TRUE(map.isEmpty());
    EXPECT_EQ(map.capacity(), 0);
    map.set(2, 2); // usable again after removeAll
    EXPECT_EQ(map.len(), 1);
}

TEST(MapTempl, StringKeysAndDeepCopies) {
    CQorMapTempl<CQorString, int> map;
    map.set(L"b", 2);
    map.set(L"B", 1);
    map.set(L"a", 3);
    EXPECT_EQ(keysOf(map), (std::vector<CQorString>{L"B", L"a", L"b"}));
    int value = 0;
    EXPECT_TRUE(map.lookup(L"a", value));
    EXPECT_EQ(value, 3);
    EXPECT_FALSE(map.lookup(L"A", value));
    EXPECT_EQ(value, 3);

    CQorMapTempl<CQorString, int> copy(map);
    copy.set(L"a", 30);
    copy.removeKey(L"b");
    EXPECT_EQ(*map.find(L"a"), 3);
    EXPECT_TRUE(map.contains(L"b"));
    EXPECT_NE(copy.find(L"a"), map.find(L"a"));

    CQorMapTempl<CQorString, int> moved(std::move(copy));
    EXPECT_EQ(moved.len(), 2);
    copy = moved;
    EXPECT_EQ(copy.len(), 2);
    map = std::move(copy);
    EXPECT_EQ(*map.find(L"a"), 30);
}

TEST(PtrMap, MapsAddressesWithoutOwning) {
    int a = 0;
    int b = 0;
    QOR::CPtrMap map;
    map.set(&a, &b);
    EXPECT_EQ(map.get(&a), &b);
    EXPECT_EQ(map.get(&b), nullptr);
}
