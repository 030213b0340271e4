# Shell functions for the program's reply files C:\a, C:\c and C:\s. Source this file.
# Each reply file is the whole HTTP response the program sends: status line, headers, body.
# The kit's own set is made by tools/reply_pages/make_reply_files.py from one page template.

# mt_http_response FILE CONTENT_TYPE BODY: writes a complete response with BODY to FILE.
mt_http_response() {
    local file=$1 type=$2 body=$3
    local length
    length=$(printf '%s' "$body" | wc -c)
    printf 'HTTP/1.1 200 OK\r\nContent-Type: %s\r\nContent-Length: %d\r\nConnection: close\r\n\r\n%s' \
        "$type" "$length" "$body" >"$file"
}

# mt_make_reply_files OUT_DIR VIEW_PORT: makes the kit's reply files a, c, s in OUT_DIR, their
# pages linking to the simulator's live view on VIEW_PORT.
mt_make_reply_files() {
    local here
    here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
    python3 "$here/tools/reply_pages/make_reply_files.py" "$here/tools/reply_pages/control_page.html" "$1" \
        --view-port "$2"
}

# mt_install_reply_files FROM_DIR DRIVE_C: puts the kit's reply files from FROM_DIR into the
# folder that is C:\. A file the operator made is kept (told on standard output); one the kit
# put there before (it names the kit as its generator) is brought up to date.
mt_install_reply_files() {
    local from=$1 drive=$2 name
    mkdir -p "$drive"
    for name in a c s; do
        if [ -e "$drive/$name" ] && ! grep -q 'name="generator" content="mini-tarvo-kit"' "$drive/$name"; then
            echo "Keeping your own reply file C:\\$name ($drive/$name)."
            continue
        fi
        cp "$from/$name" "$drive/$name.new"
        mv "$drive/$name.new" "$drive/$name"
    done
}
