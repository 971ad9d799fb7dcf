#pragma once
// CString (UTF-16) and CStringA (bytes, may hold NUL): one template over the character type.
// The buffer is our own so GetBuffer/ReleaseBuffer behave as Win32 callers expect: the
// contents past the length survive a ReleaseBuffer (file-dialog filters rely on that).
// Copies share the buffer and count its holders; the first change makes a string's own copy,
// so a line handed through the engine's layers costs no allocation per layer.

#include <windows.h>

#include <cstdarg>
#include <cstring>
#include <cwchar>

namespace classlib {

template <typename Ch> struct TCharTraits;

template <> struct TCharTraits<wchar_t> {
    static int Length(const wchar_t* s) { return s ? (int)wcslen(s) : 0; }
    static int Compare(const wchar_t* a, const wchar_t* b) { return wcscmp(a, b); }
    static int CompareNoCase(const wchar_t* a, const wchar_t* b);
    static void MakeLower(wchar_t* s, int len);
    static void MakeUpper(wchar_t* s, int len);
    static bool IsSpace(wchar_t c) { return iswspace(c) != 0; }
    static int FormatLength(const wchar_t* fmt, va_list args);
    static void FormatInto(wchar_t* buf, int len, const wchar_t* fmt, va_list args);
    // The length written when the result and its NUL fit in size characters, else -1.
    static int FormatFitting(wchar_t* buf, int size, const wchar_t* fmt, va_list args);
};

template <> struct TCharTraits<char> {
    static int Length(const char* s) { return s ? (int)strlen(s) : 0; }
    static int Compare(const char* a, const char* b) { return strcmp(a, b); }
    static int CompareNoCase(const char* a, const char* b);
    static void MakeLower(char* s, int len);
    static void MakeUpper(char* s, int len);
    static bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
    static int FormatLength(const char* fmt, va_list args);
    static void FormatInto(char* buf, int len, const char* fmt, va_list args);
    static int FormatFitting(char* buf, int size, const char* fmt, va_list args);
};

template <typename Ch> class CStringT {
    using Traits = TCharTraits<Ch>;

public:
    CStringT() = default;
    CStringT(const Ch* s) { Assign(s, Traits::Length(s)); }
    CStringT(const Ch* s, int len) { Assign(s, len); }
    CStringT(Ch ch, int repeat = 1)
    {
        if (repeat <= 0)
            return;
        Ch* p = GetBuffer(repeat);
        for (int i = 0; i < repeat; i++)
            p[i] = ch;
        ReleaseBuffer(repeat);
    }
    CStringT(const CStringT& o) : m_data(o.m_data), m_len(o.m_len), m_cap(o.m_cap) { AddHolder(m_data); }
    CStringT(CStringT&& o) noexcept : m_data(o.m_data), m_len(o.m_len), m_cap(o.m_cap)
    {
        o.m_data = nullptr;
        o.m_len = o.m_cap = 0;
    }
    ~CStringT() { ReleaseHolder(m_data); }

    CStringT& operator=(const CStringT& o)
    {
        if (m_data != o.m_data) {
            AddHolder(o.m_data);
            ReleaseHolder(m_data);
            m_data = o.m_data;
            m_cap = o.m_cap;
        }
        m_len = o.m_len;
        return *this;
    }
    CStringT& operator=(CStringT&& o) noexcept
    {
        if (this != &o) {
            ReleaseHolder(m_data);
            m_data = o.m_data;
            m_len = o.m_len;
            m_cap = o.m_cap;
            o.m_data = nullptr;
            o.m_len = o.m_cap = 0;
        }
        return *this;
    }
    // Assign copies into a fresh buffer when s points into our own.
    CStringT& operator=(const Ch* s)
    {
        Assign(s, Traits::Length(s));
        return *this;
    }
    CStringT& operator=(Ch ch) { return *this = CStringT(ch); }

    int GetLength() const { return m_len; }
    bool IsEmpty() const { return m_len == 0; }
    void Empty()
    {
        if (m_data && !IsOwn()) {
            ReleaseHolder(m_data);
            m_data = nullptr;
            m_cap = 0;
        }
        m_len = 0;
        if (m_data)
            m_data[0] = 0;
    }
    const Ch* GetString() const { return m_data ? m_data : EmptyText(); }
    operator const Ch*() const { return GetString(); }
    Ch GetAt(int i) const { return m_data[i]; }
    Ch operator[](int i) const { return m_data[i]; }
    void SetAt(int i, Ch ch)
    {
        MakeOwn();
        m_data[i] = ch;
    }

    // Buffer access: the caller writes up to n characters, then calls ReleaseBuffer.
    Ch* GetBuffer(int minLength = 0)
    {
        Reserve(minLength > m_len ? minLength : m_len);
        return m_data;
    }
    Ch* GetBufferSetLength(int length)
    {
        if (length < 0)
            length = 0;
        Reserve(length);
        m_len = length;
        m_data[m_len] = 0;
        return m_data;
    }
    void ReleaseBuffer(int newLength = -1)
    {
        if (!m_data) {
            m_len = 0;
            return;
        }
        MakeOwn();
        if (newLength < 0) {
            newLength = 0;
            while (newLength < m_cap && m_data[newLength])
                newLength++;
        }
        if (newLength > m_cap)
            newLength = m_cap;
        m_len = newLength;
        m_data[m_len] = 0;
    }
    void Preallocate(int length) { Reserve(length); }

    CStringT Left(int n) const
    {
        if (n < 0)
            n = 0;
        return CStringT(GetString(), n < m_len ? n : m_len);
    }
    CStringT Right(int n) const
    {
        if (n < 0)
            n = 0;
        if (n > m_len)
            n = m_len;
        return CStringT(GetString() + m_len - n, n);
    }
    CStringT Mid(int first) const { return Mid(first, m_len); }
    CStringT Mid(int first, int count) const
    {
        if (first < 0)
            first = 0;
        if (first > m_len)
            first = m_len;
        if (count < 0)
            count = 0;
        if (count > m_len - first)
            count = m_len - first;
        return CStringT(GetString() + first, count);
    }

    int Find(Ch ch, int start = 0) const
    {
        if (start < 0)
            start = 0;
        for (int i = start; i < m_len; i++)
            if (m_data[i] == ch)
                return i;
        return -1;
    }
    int Find(const Ch* sub, int start = 0) const
    {
        int n = Traits::Length(sub);
        if (start < 0)
            start = 0;
        if (start > m_len)
            return -1;
        for (int i = start; i + n <= m_len; i++)
            if (Same(m_data + i, sub, n))
                return i;
        return -1;
    }
    int ReverseFind(Ch ch) const
    {
        for (int i = m_len - 1; i >= 0; i--)
            if (m_data[i] == ch)
                return i;
        return -1;
    }
    int FindOneOf(const Ch* set) const
    {
        int n = Traits::Length(set);
        for (int i = 0; i < m_len; i++)
            for (int j = 0; j < n; j++)
                if (m_data[i] == set[j])
                    return i;
        return -1;
    }

    int Replace(Ch from, Ch to)
    {
        int count = 0;
        for (int i = 0; i < m_len; i++)
            if (m_data[i] == from) {
                if (count == 0)
                    MakeOwn();
                m_data[i] = to;
                count++;
            }
        return count;
    }
    int Replace(const Ch* from, const Ch* to)
    {
        int fromLen = Traits::Length(from);
        if (fromLen == 0)
            return 0;
        CStringT toCopy(to), out;
        int count = 0, i = 0;
        while (i < m_len) {
            if (i + fromLen <= m_len && Same(m_data + i, from, fromLen)) {
                out.Append(toCopy.GetString(), toCopy.m_len);
                i += fromLen;
                count++;
            } else {
                out.Append(m_data + i, 1);
                i++;
            }
        }
        if (count)
            *this = static_cast<CStringT&&>(out);
        return count;
    }
    int Remove(Ch ch)
    {
        if (Find(ch) < 0)
            return 0;
        MakeOwn();
        int w = 0;
        for (int r = 0; r < m_len; r++)
            if (m_data[r] != ch)
                m_data[w++] = m_data[r];
        int removed = m_len - w;
        if (m_data) {
            m_len = w;
            m_data[w] = 0;
        }
        return removed;
    }
    int Insert(int index, Ch ch) { return InsertText(index, &ch, 1); }
    int Insert(int index, const Ch* s)
    {
        CStringT copy(s);
        return InsertText(index, copy.GetString(), copy.m_len);
    }
    int Delete(int index, int count = 1)
    {
        if (index < 0)
            index = 0;
        if (count > 0 && index < m_len) {
            if (count > m_len - index)
                count = m_len - index;
            MakeOwn();
            memmove(m_data + index, m_data + index + count, (m_len - index - count + 1) * sizeof(Ch));
            m_len -= count;
        }
        return m_len;
    }

    CStringT& MakeLower()
    {
        if (m_len) {
            MakeOwn();
            Traits::MakeLower(m_data, m_len);
        }
        return *this;
    }
    CStringT& MakeUpper()
    {
        if (m_len) {
            MakeOwn();
            Traits::MakeUpper(m_data, m_len);
        }
        return *this;
    }
    CStringT& MakeReverse()
    {
        if (m_len > 1)
            MakeOwn();
        for (int i = 0, j = m_len - 1; i < j; i++, j--) {
            Ch t = m_data[i];
            m_data[i] = m_data[j];
            m_data[j] = t;
        }
        return *this;
    }

    CStringT& TrimLeft()
    {
        return TrimLeftIf([](Ch c) { return Traits::IsSpace(c); });
    }
    CStringT& TrimLeft(Ch ch)
    {
        return TrimLeftIf([ch](Ch c) { return c == ch; });
    }
    CStringT& TrimLeft(const Ch* set)
    {
        return TrimLeftIf([set](Ch c) { return InSet(set, c); });
    }
    CStringT& TrimRight()
    {
        return TrimRightIf([](Ch c) { return Traits::IsSpace(c); });
    }
    CStringT& TrimRight(Ch ch)
    {
        return TrimRightIf([ch](Ch c) { return c == ch; });
    }
    CStringT& TrimRight(const Ch* set)
    {
        return TrimRightIf([set](Ch c) { return InSet(set, c); });
    }
    CStringT& Trim() { return TrimRight().TrimLeft(); }
    CStringT& Trim(Ch ch) { return TrimRight(ch).TrimLeft(ch); }
    CStringT& Trim(const Ch* set) { return TrimRight(set).TrimLeft(set); }

    int Compare(const Ch* s) const { return Traits::Compare(GetString(), s ? s : EmptyText()); }
    int CompareNoCase(const Ch* s) const { return Traits::CompareNoCase(GetString(), s ? s : EmptyText()); }

    CStringT& operator+=(const CStringT& s) { return Append(s.GetString(), s.m_len); }
    // Append copies first when s lies in our own buffer.
    CStringT& operator+=(const Ch* s) { return Append(s, Traits::Length(s)); }
    CStringT& operator+=(Ch ch) { return Append(&ch, 1); }
    CStringT& Append(const Ch* s, int len)
    {
        if (len <= 0)
            return *this;
        if (m_data && s >= m_data && s <= m_data + m_cap) {
            // s is our own text, which growing would free before the copy
            CStringT copy(s, len);
            return Append(copy.m_data, len);
        }
        Reserve(m_len + len);
        memmove(m_data + m_len, s, len * sizeof(Ch));
        m_len += len;
        m_data[m_len] = 0;
        return *this;
    }
    CStringT& AppendChar(Ch ch) { return Append(&ch, 1); }

    // printf-style with the Windows C runtime's rules (%s follows the format's width).
    void Format(const Ch* fmt, ...)
    {
        va_list args;
        va_start(args, fmt);
        FormatV(fmt, args);
        va_end(args);
    }
    void AppendFormat(const Ch* fmt, ...)
    {
        va_list args;
        va_start(args, fmt);
        CStringT part;
        part.FormatV(fmt, args);
        va_end(args);
        *this += part;
    }
    void FormatV(const Ch* fmt, va_list args)
    {
        // Most results are short: formatted once on the stack instead of measured first.
        Ch shortText[256];
        va_list attempt;
        va_copy(attempt, args);
        int fitting = fmt ? Traits::FormatFitting(shortText, 256, fmt, attempt) : 0;
        va_end(attempt);
        if (fitting >= 0) {
            Assign(shortText, fitting);
            return;
        }
        va_list measure;
        va_copy(measure, args);
        int len = Traits::FormatLength(fmt, measure);
        va_end(measure);
        if (len <= 0) {
            Empty();
            return;
        }
        CStringT out;
        out.Reserve(len);
        Traits::FormatInto(out.m_data, len, fmt, args);
        out.m_len = len;
        out.m_data[len] = 0;
        *this = static_cast<CStringT&&>(out);
    }

    BOOL LoadString(UINT id);

    friend CStringT operator+(const CStringT& a, const CStringT& b)
    {
        CStringT r;
        r.Reserve(a.m_len + b.m_len);
        r.Append(a.GetString(), a.m_len);
        r.Append(b.GetString(), b.m_len);
        return r;
    }
    // a + b + c appends to the first sum instead of copying it again.
    friend CStringT operator+(CStringT&& a, const CStringT& b)
    {
        a += b;
        return static_cast<CStringT&&>(a);
    }
    friend CStringT operator+(CStringT&& a, const Ch* b)
    {
        a += b;
        return static_cast<CStringT&&>(a);
    }
    friend CStringT operator+(CStringT&& a, Ch b)
    {
        a += b;
        return static_cast<CStringT&&>(a);
    }
    friend CStringT operator+(const CStringT& a, const Ch* b)
    {
        CStringT r(a);
        r += b;
        return r;
    }
    friend CStringT operator+(const Ch* a, const CStringT& b)
    {
        CStringT r(a);
        r += b;
        return r;
    }
    friend CStringT operator+(const CStringT& a, Ch b)
    {
        CStringT r(a);
        r += b;
        return r;
    }
    friend CStringT operator+(Ch a, const CStringT& b)
    {
        CStringT r(a);
        r += b;
        return r;
    }

    // Equality compares whole buffers so byte strings with NUL inside compare exactly.
    friend bool operator==(const CStringT& a, const CStringT& b)
    {
        // Copies share one buffer: those are equal without reading it.
        return a.m_len == b.m_len && (a.m_data == b.m_data || Same(a.GetString(), b.GetString(), a.m_len));
    }
    friend bool operator==(const CStringT& a, const Ch* b) { return a.Compare(b) == 0; }
    friend bool operator==(const Ch* a, const CStringT& b) { return b.Compare(a) == 0; }
    friend bool operator!=(const CStringT& a, const CStringT& b) { return !(a == b); }
    friend bool operator!=(const CStringT& a, const Ch* b) { return !(a == b); }
    friend bool operator!=(const Ch* a, const CStringT& b) { return !(b == a); }
    friend bool operator<(const CStringT& a, const CStringT& b) { return a.Compare(b) < 0; }
    friend bool operator>(const CStringT& a, const CStringT& b) { return a.Compare(b) > 0; }
    friend bool operator<=(const CStringT& a, const CStringT& b) { return a.Compare(b) <= 0; }
    friend bool operator>=(const CStringT& a, const CStringT& b) { return a.Compare(b) >= 0; }

private:
    static const Ch* EmptyText()
    {
        static const Ch empty[1] = {0};
        return empty;
    }
    static bool Same(const Ch* a, const Ch* b, int n)
    {
        for (int i = 0; i < n; i++)
            if (a[i] != b[i])
                return false;
        return true;
    }
    static bool InSet(const Ch* set, Ch c)
    {
        for (; set && *set; set++)
            if (*set == c)
                return true;
        return false;
    }
    template <typename Pred> CStringT& TrimLeftIf(Pred pred)
    {
        int i = 0;
        while (i < m_len && pred(m_data[i]))
            i++;
        return Delete(0, i), *this;
    }
    template <typename Pred> CStringT& TrimRightIf(Pred pred)
    {
        int n = m_len;
        while (n > 0 && pred(m_data[n - 1]))
            n--;
        if (m_data && n != m_len) {
            MakeOwn();
            m_len = n;
            m_data[n] = 0;
        }
        return *this;
    }
    int InsertText(int index, const Ch* s, int len)
    {
        if (index < 0)
            index = 0;
        if (index > m_len)
            index = m_len;
        if (len > 0) {
            Reserve(m_len + len);
            memmove(m_data + index + len, m_data + index, (m_len - index + 1) * sizeof(Ch));
            memcpy(m_data + index, s, len * sizeof(Ch));
            m_len += len;
        }
        return m_len;
    }
    void Assign(const Ch* s, int len)
    {
        if (!s || len <= 0) {
            Empty();
            return;
        }
        if (len > m_cap || (m_data && s >= m_data && s <= m_data + m_cap) || !IsOwn()) {
            Ch* fresh = Allocate(len, false);
            memcpy(fresh, s, len * sizeof(Ch));
            ReleaseHolder(m_data);
            m_data = fresh;
            m_cap = len;
        } else {
            memcpy(m_data, s, len * sizeof(Ch));
        }
        m_len = len;
        // Two NULs, so a copy of a double-NUL-terminated list stays one.
        m_data[m_len] = 0;
        m_data[m_len + 1] = 0;
    }
    void Reserve(int length)
    {
        if (length <= m_cap && m_data) {
            MakeOwn();
            return;
        }
        int cap = m_cap < 16 ? 16 : m_cap;
        while (cap < length)
            cap = cap > (1 << 29) ? length : cap * 2;
        Ch* fresh = Allocate(cap, true);
        if (m_data)
            memcpy(fresh, m_data, (m_len + 1) * sizeof(Ch));
        ReleaseHolder(m_data);
        m_data = fresh;
        m_cap = cap;
    }

    // The count of strings holding a buffer sits just before its first character.
    static LONG* HolderCount(Ch* data) { return reinterpret_cast<LONG*>(data) - 1; }
    static Ch* Allocate(int cap, bool zeroed)
    {
        size_t bytes = sizeof(LONG) + (size_t)(cap + 2) * sizeof(Ch);
        char* block = new char[bytes];
        if (zeroed)
            memset(block, 0, bytes);
        *reinterpret_cast<LONG*>(block) = 1;
        return reinterpret_cast<Ch*>(block + sizeof(LONG));
    }
    static void AddHolder(Ch* data)
    {
        if (data)
            InterlockedIncrement(HolderCount(data));
    }
    static void ReleaseHolder(Ch* data)
    {
        if (data && InterlockedDecrement(HolderCount(data)) == 0)
            delete[] reinterpret_cast<char*>(HolderCount(data));
    }
    // Only this string holds the buffer: another holder's count can only go down meanwhile.
    bool IsOwn() const { return !m_data || *HolderCount(m_data) == 1; }
    // Before a change in place: a shared buffer is copied whole, past the length too.
    void MakeOwn()
    {
        if (IsOwn())
            return;
        Ch* fresh = Allocate(m_cap, false);
        memcpy(fresh, m_data, (size_t)(m_cap + 2) * sizeof(Ch));
        ReleaseHolder(m_data);
        m_data = fresh;
    }

    Ch* m_data = nullptr; // m_cap + 2 characters when set; m_data[m_len] is always 0
    int m_len = 0;
    int m_cap = 0;
};

HINSTANCE ResourceInstance();

template <typename Ch> BOOL CStringT<Ch>::LoadString(UINT id)
{
    // A length of 0 asks for a pointer into the read-only resource itself.
    const wchar_t* text = nullptr;
    int len = ::LoadStringW(ResourceInstance(), id, reinterpret_cast<LPWSTR>(&text), 0);
    if (len <= 0 || !text) {
        Empty();
        return FALSE;
    }
    if constexpr (sizeof(Ch) == sizeof(wchar_t)) {
        Assign(text, len);
    } else {
        int bytes = ::WideCharToMultiByte(CP_ACP, 0, text, len, nullptr, 0, nullptr, nullptr);
        char* p = GetBufferSetLength(bytes);
        ::WideCharToMultiByte(CP_ACP, 0, text, len, p, bytes, nullptr, nullptr);
    }
    return TRUE;
}

} // namespace classlib

using CString = classlib::CStringT<wchar_t>;
using CStringA = classlib::CStringT<char>;
using CStringW = CString;
