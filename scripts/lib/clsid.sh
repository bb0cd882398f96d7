# shellcheck shell=bash
# The stand-in's class numbers and Wine's, read from tools/standin/Clsid.h, where alone they are
# written, as the C++ code has them.
clsid_of() {  # NAME   (kClsidText, kServerClsidText, kWineWinmgmtsClsidText)
  local header value
  header=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/tools/standin/Clsid.h
  value=$(sed -n "s/^inline constexpr wchar_t $1\[\] = L\"\(.*\)\";$/\1/p" "$header")
  if [[ ! $value =~ ^\{[0-9A-F]{8}(-[0-9A-F]{4}){3}-[0-9A-F]{12}\}$ ]]; then
    echo "no class number $1 in $header" >&2
    return 1
  fi
  echo "$value"
}
