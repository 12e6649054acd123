#pragma once

// The registry's internal entry point for code that must not race another thread between choosing a key
// and storing under it.

class CQorGDX;

namespace QOR::detail {

/// Stores a copy of gdx under the smallest free key >= 1, found and taken under the registry's lock, and
/// returns that key; -1 when memory runs out.
int gdxMapAdd(const CQorGDX& gdx) noexcept;

} // namespace QOR::detail
