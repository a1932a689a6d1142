# install_missing <label> <package>...: installs the Debian packages of the list that are not
# installed yet, as root or through sudo. A package of the i386 architecture (name:i386) adds
# that architecture first. Waits for another installer's lock rather than failing.
install_missing() {
    local label="$1"
    shift
    local missing=()
    local package
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$package")
        fi
    done
    if [ ${#missing[@]} -eq 0 ]; then
        return 0
    fi

    local as_root=()
    if [ "$(id -u)" -ne 0 ]; then
        if command -v sudo >/dev/null 2>&1; then
            as_root=(sudo)
        else
            echo "$label: need root (or sudo) to install: ${missing[*]}" >&2
            return 1
        fi
    fi

    echo "$label: installing ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    if [[ " ${missing[*]}" == *":i386"* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
        "${as_root[@]}" dpkg --add-architecture i386
    fi
    "${as_root[@]}" apt-get -o DPkg::Lock::Timeout=600 update -qq
    "${as_root[@]}" apt-get -o DPkg::Lock::Timeout=600 install -y -qq --no-install-recommends \
        "${missing[@]}"
}
