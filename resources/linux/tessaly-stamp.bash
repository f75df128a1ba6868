# Bash completion for tessaly-stamp.

# Folders, and files whose extension the picture loader reads, in any letter case.
_tessaly_stamp_pictures() {
    local name
    while IFS= read -r name; do
        if [[ -d $name ]]; then
            COMPREPLY+=("$name")
        else
            case ${name,,} in
            *.bmp | *.jpg | *.jpeg | *.png | *.gif | *.ico | *.wmf | *.emf | *.tif | *.tiff)
                COMPREPLY+=("$name") ;;
            esac
        fi
    done < <(compgen -f -- "$1")
}

_tessaly_stamp() {
    local cur=${COMP_WORDS[COMP_CWORD]} prev=
    ((COMP_CWORD > 0)) && prev=${COMP_WORDS[COMP_CWORD - 1]}
    COMPREPLY=()
    case $prev in
    -t | --transparency | --quality | -j | --jobs | --name)
        return ;;
    --format)
        COMPREPLY=($(compgen -W 'bmp png jpeg tiff' -- "$cur"))
        return ;;
    --sampling)
        COMPREPLY=($(compgen -W '444 422 420' -- "$cur"))
        return ;;
    --existing)
        COMPREPLY=($(compgen -W 'replace skip fail' -- "$cur"))
        return ;;
    --files-from)
        compopt -o filenames 2>/dev/null
        COMPREPLY=($(compgen -f -- "$cur"))
        return ;;
    -d | --output-dir)
        compopt -o filenames 2>/dev/null
        COMPREPLY=($(compgen -d -- "$cur"))
        return ;;
    -o | --output)
        compopt -o filenames 2>/dev/null
        COMPREPLY=($(compgen -f -- "$cur"))
        return ;;
    esac
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W '-w --watermark -t --transparency -o --output -d --output-dir
            --format --quality --sampling --strip -r --recursive --follow-links --name
            --existing --files-from -0 --null -n --dry-run -j --jobs -q --quiet --help
            --version' -- "$cur"))
        return
    fi
    # The watermark and the pictures to stamp.
    compopt -o filenames 2>/dev/null
    _tessaly_stamp_pictures "$cur"
}
complete -F _tessaly_stamp tessaly-stamp
