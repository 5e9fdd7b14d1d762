#include "image/resample/FilterPasses.h"

#if defined(__x86_64__)
#include <immintrin.h>
// The AVX2 helpers pass 256-bit vectors only among themselves, inside this file.
#pragma GCC diagnostic ignored "-Wpsabi"
#endif

namespace {

// The scalar loops: the reference the vector builds compute in another order, and the
// build for processors without x86-64 vectors.
[[maybe_unused]] void FilterAcrossScalar(const float* in, int stride, const PairedTaps& taps,
                                         float* out) {
  for (std::size_t k = 0; k < taps.first.size(); ++k, out += 4) {
    const float* w = taps.weights.data() + k * static_cast<std::size_t>(taps.stride) * 8;
    const float* p = in + taps.first[k] * stride;
    float sum[4] = {};
    for (int t = 0; t < taps.pairs[k] * 2; ++t)
      for (int c = 0; c < 4; ++c) sum[c] += w[4 * t + c] * p[t * stride + c];
    for (int c = 0; c < 4; ++c) out[c] = sum[c];
  }
}

[[maybe_unused]] void FilterDownScalar(const std::uint8_t* const* rows, const float* weights, int n,
                                       std::size_t from, std::size_t count, float* out) {
  for (std::size_t i = from; i < count; ++i) {
    float sum = 0.0f;
    for (int t = 0; t < n; ++t) sum += weights[t] * static_cast<float>(rows[t][i]);
    out[i] = sum;
  }
}

#if defined(__x86_64__)

// Plain x86-64 (SSE2): one pixel's four channels per register.
void FilterAcrossSse2(const float* in, int stride, const PairedTaps& taps, float* out) {
  for (std::size_t k = 0; k < taps.first.size(); ++k, out += 4) {
    const float* w = taps.weights.data() + k * static_cast<std::size_t>(taps.stride) * 8;
    const float* p = in + taps.first[k] * stride;
    // Two sums, so that one tap's addition need not wait for the previous one's.
    __m128 even = _mm_setzero_ps(), odd = _mm_setzero_ps();
    for (int t = 0; t < taps.pairs[k]; ++t, w += 8, p += 2 * stride) {
      even = _mm_add_ps(even, _mm_mul_ps(_mm_loadu_ps(w), _mm_loadu_ps(p)));
      odd = _mm_add_ps(odd, _mm_mul_ps(_mm_loadu_ps(w + 4), _mm_loadu_ps(p + stride)));
    }
    _mm_storeu_ps(out, _mm_add_ps(even, odd));
  }
}

void FilterDownSse2(const std::uint8_t* const* rows, const float* weights, int n, std::size_t count,
                    float* out) {
  const __m128i zero = _mm_setzero_si128();
  std::size_t i = 0;
  // Sixteen bytes at a time: four independent sums share each tap's weight.
  for (; i + 16 <= count; i += 16) {
    __m128 s[4] = {_mm_setzero_ps(), _mm_setzero_ps(), _mm_setzero_ps(), _mm_setzero_ps()};
    for (int t = 0; t < n; ++t) {
      const __m128 w = _mm_set1_ps(weights[t]);
      const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[t] + i));
      const __m128i lo = _mm_unpacklo_epi8(bytes, zero), hi = _mm_unpackhi_epi8(bytes, zero);
      const __m128i words[4] = {_mm_unpacklo_epi16(lo, zero), _mm_unpackhi_epi16(lo, zero),
                                _mm_unpacklo_epi16(hi, zero), _mm_unpackhi_epi16(hi, zero)};
      for (int q = 0; q < 4; ++q) s[q] = _mm_add_ps(s[q], _mm_mul_ps(w, _mm_cvtepi32_ps(words[q])));
    }
    for (int q = 0; q < 4; ++q) _mm_storeu_ps(out + i + 4 * q, s[q]);
  }
  FilterDownScalar(rows, weights, n, i, count, out);
}

// AVX2 with fused multiply-adds: a pair of taps, or two pixels, per register.

// Two input pixels, `stride` floats apart, in one register.
__attribute__((target("avx2,fma"))) inline __m256 LoadPair(const float* p, int stride) {
  return _mm256_insertf128_ps(_mm256_castps128_ps256(_mm_loadu_ps(p)), _mm_loadu_ps(p + stride), 1);
}

__attribute__((target("avx2,fma"))) void FilterAcrossAvx2(const float* in, int stride,
                                                          const PairedTaps& taps, float* out) {
  for (std::size_t k = 0; k < taps.first.size(); ++k, out += 4) {
    const float* w = taps.weights.data() + k * static_cast<std::size_t>(taps.stride) * 8;
    const float* p = in + taps.first[k] * stride;
    __m256 even = _mm256_setzero_ps(), odd = _mm256_setzero_ps();
    const int pairs = taps.pairs[k];
    int t = 0;
    for (; t + 1 < pairs; t += 2, w += 16, p += 4 * stride) {
      even = _mm256_fmadd_ps(_mm256_loadu_ps(w), LoadPair(p, stride), even);
      odd = _mm256_fmadd_ps(_mm256_loadu_ps(w + 8), LoadPair(p + 2 * stride, stride), odd);
    }
    if (t < pairs) even = _mm256_fmadd_ps(_mm256_loadu_ps(w), LoadPair(p, stride), even);
    const __m256 sum = _mm256_add_ps(even, odd);
    _mm_storeu_ps(out, _mm_add_ps(_mm256_castps256_ps128(sum), _mm256_extractf128_ps(sum, 1)));
  }
}

__attribute__((target("avx2,fma"))) void FilterDownAvx2(const std::uint8_t* const* rows,
                                                        const float* weights, int n,
                                                        std::size_t count, float* out) {
  std::size_t i = 0;
  for (; i + 16 <= count; i += 16) {
    __m256 a = _mm256_setzero_ps(), b = _mm256_setzero_ps();
    for (int t = 0; t < n; ++t) {
      const __m256 w = _mm256_set1_ps(weights[t]);
      const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[t] + i));
      a = _mm256_fmadd_ps(w, _mm256_cvtepi32_ps(_mm256_cvtepu8_epi32(bytes)), a);
      b = _mm256_fmadd_ps(w, _mm256_cvtepi32_ps(_mm256_cvtepu8_epi32(_mm_srli_si128(bytes, 8))), b);
    }
    _mm256_storeu_ps(out + i, a);
    _mm256_storeu_ps(out + i + 8, b);
  }
  FilterDownScalar(rows, weights, n, i, count, out);
}

bool HasAvx2() {
  static const bool avx2 = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
  return avx2;
}

#endif

}  // namespace

PairedTaps PairTaps(const FilterTaps& taps, std::int64_t origin) {
  PairedTaps paired;
  paired.stride = (taps.stride + 1) / 2;
  const std::size_t outputs = taps.first.size();
  paired.first = taps.first;
  for (std::int64_t& f : paired.first) f -= origin;
  paired.pairs.resize(outputs);
  paired.weights.assign(outputs * static_cast<std::size_t>(paired.stride) * 8, 0.0f);
  for (std::size_t k = 0; k < outputs; ++k) {
    paired.pairs[k] = (taps.count[k] + 1) / 2;
    float* out = paired.weights.data() + k * static_cast<std::size_t>(paired.stride) * 8;
    const float* w = taps.WeightsOf(k);
    for (int t = 0; t < taps.count[k]; ++t)
      for (int c = 0; c < 4; ++c) out[(t / 2) * 8 + (t % 2) * 4 + c] = w[t];
  }
  return paired;
}

void FilterAcross(const float* in, int stride, const PairedTaps& taps, float* out) {
#if defined(__x86_64__)
  if (HasAvx2()) {
    FilterAcrossAvx2(in, stride, taps, out);
  } else {
    FilterAcrossSse2(in, stride, taps, out);
  }
#else
  FilterAcrossScalar(in, stride, taps, out);
#endif
}

void FilterDown(const std::uint8_t* const* rows, const float* weights, int n, std::size_t count,
                float* out) {
#if defined(__x86_64__)
  if (HasAvx2()) {
    FilterDownAvx2(rows, weights, n, count, out);
  } else {
    FilterDownSse2(rows, weights, n, count, out);
  }
#else
  FilterDownScalar(rows, weights, n, 0, count, out);
#endif
}
